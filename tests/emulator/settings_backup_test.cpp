// Settings backups: what is read back as written, what is refused and
// why, and a printer started from one.
#include "settings_backup.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "emulator_test_util.h"

namespace kt::backup {
namespace {

Backup fullBackup()
{
    Backup b;
    b.created = "2024-05-01T10:20:30Z";
    b.printer = {"TALVORIN POS", "KT-9100X", "V4.20", "KT9X2205000021"};
    b.settings.switches = {146, 0, 255, 8};
    b.settings.codePage = 17;
    b.settings.codePageName = "CYRILLIC";
    b.settings.charset = 8;
    b.settings.density = 2;
    b.settings.font8x16 = true;
    b.settings.thaiPass = 249;
    return b;
}

TEST(SettingsBackup, ReadsBackWhatWasWrittenAbsentItemsIncluded)
{
    const Backup full = fullBackup();
    EXPECT_EQ(parseBackup(formatBackup(full)), full);
    Backup partial;
    partial.created = "2024-05-01T10:20:30.125+02:00";
    partial.printer.model = "KT-7000";
    partial.settings.switches[1] = 3;
    partial.settings.font8x16 = false;
    const std::string text = formatBackup(partial);
    EXPECT_EQ(parseBackup(text), partial);
    for (const char *absent : {"thai_pass", "switch_1", "maker", "code_page_name"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
}

// A valid document with one part replaced.
std::string document(const std::string &format, const std::string &created,
                     const std::string &printer, const std::string &settings)
{
    return "{\"format\": " + format + ", \"created\": " + created + ", \"printer\": " + printer
        + ", \"settings\": " + settings + "}";
}

std::string withSetting(const std::string &item)
{
    return document("1", "\"2024-05-01T10:20:30Z\"", "{\"model\": \"KT-4000\"}", "{" + item + "}");
}

TEST(SettingsBackup, RefusesWhatIsNoBackupNamingTheCause)
{
    const std::string ok = withSetting("\"switch_1\": 2");
    ASSERT_NO_THROW(parseBackup(ok));
    struct Case {
        std::string text;
        const char *cause;
    };
    const std::vector<Case> cases{
        {"", "the document is empty"},
        {"hello", "not a JSON document"},
        {"[1, 2]", "not a JSON object"},
        {ok.substr(0, ok.size() - 8), "truncated"},
        {ok.substr(0, 20), "truncated"},
        {"{\"created\": \"2024-05-01T10:20:30Z\"}", "no format number"},
        {document("\"1\"", "\"2024-05-01T10:20:30Z\"", "{}", "{}"), "no format number"},
        {document("2", "\"2024-05-01T10:20:30Z\"", "{}", "{}"), "format 2, newer"},
        {document("0", "\"2024-05-01T10:20:30Z\"", "{}", "{}"), "unknown format 0"},
        {document("1", "\"yesterday\"", "{}", "{}"), "ISO 8601"},
        {document("1", "\"2024-13-01T10:20:30Z\"", "{}", "{}"), "ISO 8601"},
        {document("1", "20240501", "{}", "{}"), "ISO 8601"},
        {document("1", "\"2024-05-01T10:20:30Z\"", "[]", "{}"), "no \"printer\" object"},
        {"{\"format\": 1, \"created\": \"2024-05-01T10:20:30Z\", \"printer\": {}}",
         "no \"settings\" object"},
        {document("1", "\"2024-05-01T10:20:30Z\"", "{\"model\": 5}", "{}"),
         "printer.model is not a text"},
        {withSetting("\"switch_1\": 256"), "settings.switch_1 is 256, outside 0..255"},
        {withSetting("\"switch_4\": -1"), "settings.switch_4 is -1, outside 0..255"},
        {withSetting("\"switch_2\": 1.5"), "settings.switch_2 is not a whole number"},
        {withSetting("\"switch_3\": \"12\""), "settings.switch_3 is not a whole number"},
        {withSetting("\"density\": 10"), "settings.density is 10, outside 0..9"},
        {withSetting("\"charset\": 100"), "settings.charset is 100, outside 0..99"},
        {withSetting("\"code_page\": 1000"), "settings.code_page is 1000, outside 0..255"},
        {withSetting("\"code_page_name\": \"" + std::string(21, 'A') + "\""),
         "longer than 20 characters"},
        {withSetting("\"code_page_name\": \"A\\u0001\""), "holds a control character"},
        {withSetting("\"font_8x16\": \"ON\""), "settings.font_8x16 is not true or false"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parseBackup(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const BackupError &e) {
            EXPECT_NE(std::string(e.what()).find(c.cause), std::string::npos) << e.what();
        }
    }
}

TEST(SettingsBackup, FilesThatAreNoBackupFilesAreRefusedAtOnce)
{
    test::TempDir dir;
    const auto fifo = test::in(dir, "fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::writeFile(test::in(dir, "big"), std::string(kMaxFileBytes + 1, ' '));
    for (const auto &[path, cause] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {test::in(dir, "missing"), "no such file"},
             {dir.path(), "not a regular file"},
             {fifo, "not a regular file"},
             {test::in(dir, "big"), "larger than a backup can be"},
         }) {
        SCOPED_TRACE(path);
        try {
            readBackupFile(path);
            ADD_FAILURE() << "accepted";
        } catch (const BackupError &e) {
            EXPECT_EQ(std::string(e.what()), path.string() + ": " + cause);
        }
    }
}

} // namespace
} // namespace kt::backup
