#include "printer_settings.h"

#include "protocol/reply_rules.h"

namespace kt::ktsw {
namespace {

using protocol::Query;

// A text of the identity, or nullopt (with a note) when a backup cannot
// hold it: too long, or with control characters.
std::optional<std::string> identityText(std::optional<std::string> backup::Identity::*field,
                                        const std::string &text, const char *what,
                                        std::vector<std::string> &notes)
{
    backup::Backup probe;
    probe.created = backup::currentTime();
    probe.printer.*field = text;
    try {
        (void)backup::formatBackup(probe);
        return text;
    } catch (const backup::BackupError &e) {
        notes.push_back(std::string(what) + " left out: " + e.what());
        return std::nullopt;
    }
}

} // namespace

Result<std::optional<SettingValue>> readItem(PrinterLink &link, const BackupItem &item)
{
    auto reply = link.query(protocol::queryEntry(item.query).bytes);
    if (!reply.ok())
        return reply.failure();
    if (!reply.value())
        return std::optional<SettingValue>();
    return valueOfReply(item, *reply.value());
}

Result<backup::Backup> readPrinterBackup(PrinterLink &link, const Identity &id,
                                         std::vector<std::string> &notes)
{
    backup::Backup b;
    b.created = backup::currentTime();
    b.printer.maker = identityText(&backup::Identity::maker, id.maker, "maker", notes);
    b.printer.model = identityText(&backup::Identity::model, id.model, "model", notes);
    const struct {
        Query query;
        std::optional<std::string> backup::Identity::*field;
        const char *what;
    } identity[] = {{Query::Printer2, &backup::Identity::firmware, "firmware"},
                    {Query::Printer5Serial, &backup::Identity::serialNumber, "serial number"}};
    for (const auto &item : identity) {
        auto reply = link.query(protocol::queryEntry(item.query).bytes);
        if (!reply.ok())
            return reply.failure();
        if (reply.value() && !reply.value()->empty())
            b.printer.*item.field = identityText(item.field, *reply.value(), item.what, notes);
        else
            notes.push_back(std::string(item.what) + " left out: no answer");
    }
    for (const BackupItem &item : backupItems()) {
        if (!modelHas(item, id.model))
            continue;
        auto value = readItem(link, item);
        if (!value.ok())
            return value.failure();
        if (!value.value()) {
            notes.push_back(std::string(item.key) + " left out: no answer");
            continue;
        }
        try {
            backup::setSettingValue(b.settings, item.key, value.value());
        } catch (const backup::BackupError &e) {
            notes.push_back(std::string(item.key) + " left out: " + e.what());
        }
    }
    return b;
}

} // namespace kt::ktsw
