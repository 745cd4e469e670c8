// Settings backups: what is read back as written, what is refused and
// why, and files that are replaced whole or not at all.
#include "settings_backup.h"

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "atomic_write.h"
#include "temp_dir.h"

namespace kt::backup {
namespace {

using TempDir = kt::test::TempDir;

std::filesystem::path in(const TempDir &dir, const std::string &name)
{
    return std::filesystem::path(dir.path()) / name;
}

void writeFile(const std::filesystem::path &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The names in the directory, temporary files included.
std::vector<std::string> entries(const TempDir &dir)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

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
    TempDir dir;
    const auto fifo = in(dir, "fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    writeFile(in(dir, "big"), std::string(kMaxFileBytes + 1, ' '));
    for (const auto &[path, cause] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {in(dir, "missing"), "no such file"},
             {dir.path(), "not a regular file"},
             {fifo, "not a regular file"},
             {in(dir, "big"), "larger than a backup can be"},
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

TEST(SettingsBackup, SettingsByKeyKeepTheLimitsOfTheDocument)
{
    Settings s;
    setSettingValue(s, "switch_3", 200);
    setSettingValue(s, "code_page_name", std::string("CYRILLIC"));
    setSettingValue(s, "font_8x16", true);
    EXPECT_EQ(s.switches[2], 200);
    EXPECT_EQ(settingValue(s, "code_page_name"), SettingValue(std::string("CYRILLIC")));
    EXPECT_EQ(settingValue(s, "font_8x16"), SettingValue(true));
    EXPECT_EQ(settingValue(s, "density"), std::nullopt);
    setSettingValue(s, "switch_3", std::nullopt);
    EXPECT_EQ(s.switches[2], std::nullopt);
    EXPECT_EQ(settingKeys().front(), "switch_1");
    EXPECT_EQ(settingKeys().size(), 10u);

    struct Case {
        const char *key;
        SettingValue value;
        const char *cause;
    };
    const Case cases[] = {
        {"switch_1", 256, "settings.switch_1 is 256, outside 0..255"},
        {"density", -1, "settings.density is -1, outside 0..9"},
        {"charset", std::string("8"), "settings.charset is not a whole number"},
        {"font_8x16", 1, "settings.font_8x16 is not true or false"},
        {"code_page_name", std::string("A\tB"), "holds a control character"},
        {"code_page_name", false, "is not a text"},
        {"baud_rate", 9600, "no setting is called \"baud_rate\""},
    };
    for (const Case &c : cases) {
        Settings t;
        try {
            setSettingValue(t, c.key, c.value);
            ADD_FAILURE() << c.key << " accepted";
        } catch (const BackupError &e) {
            EXPECT_NE(std::string(e.what()).find(c.cause), std::string::npos) << e.what();
        }
        EXPECT_EQ(t, Settings{});
    }
}

TEST(SettingsBackup, NothingIsFormattedThatCouldNotBeReadBack)
{
    Backup b = fullBackup();
    b.settings.density = 12;
    EXPECT_THROW(formatBackup(b), BackupError);
    b = fullBackup();
    b.created = "now";
    EXPECT_THROW(formatBackup(b), BackupError);
    b = fullBackup();
    b.printer.model = std::string(65, 'K');
    EXPECT_THROW(formatBackup(b), BackupError);
    b = fullBackup();
    b.created = currentTime();
    EXPECT_EQ(parseBackup(formatBackup(b)), b);
}

TEST(SettingsBackup, AFileIsReplacedWholeOrNotAtAll)
{
    TempDir dir;
    const auto file = in(dir, "printer.json");
    writeBackupFile(file, fullBackup());
    EXPECT_EQ(readBackupFile(file), fullBackup());
    EXPECT_EQ(entries(dir), std::vector<std::string>{"printer.json"});

    // A writer that fails half-way: the old file stays, no temporary is left.
    writeFile(file, "old");
    const Writer half = [](int fd, std::string_view bytes) {
        return writeAll(fd, bytes.substr(0, bytes.size() / 2)) && (errno = ENOSPC, false);
    };
    const auto failed = writeAtomically(file, formatBackup(fullBackup()), half);
    ASSERT_TRUE(failed);
    EXPECT_NE(failed->find("No space left on device"), std::string::npos) << *failed;
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(entries(dir), std::vector<std::string>{"printer.json"});

    // A directory that cannot be written to names its cause.
    try {
        writeBackupFile(in(dir, "missing/printer.json"), fullBackup());
        ADD_FAILURE() << "written";
    } catch (const BackupError &e) {
        EXPECT_NE(std::string(e.what()).find("missing/printer.json"), std::string::npos);
    }
}

TEST(SettingsBackup, AWriterKilledHalfWayLeavesNoHalfFile)
{
    TempDir dir;
    for (const bool existing : {false, true}) {
        const auto file = in(dir, existing ? "old.json" : "new.json");
        if (existing)
            writeFile(file, "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes the first half, then dies before the rest.
            const Writer dies = [](int fd, std::string_view bytes) {
                writeAll(fd, bytes.substr(0, bytes.size() / 2));
                ::raise(SIGKILL);
                return true;
            };
            (void)writeAtomically(file, formatBackup(fullBackup()), dies);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        if (existing)
            EXPECT_EQ(readFile(file), "old");
        else
            EXPECT_FALSE(std::filesystem::exists(file));
    }
}

} // namespace
} // namespace kt::backup
