#include "protocol/queries.h"

#include <string>

#include "catalogue/models.h"
#include "protocol/reply_rules.h"
#include "protocol/switch_page_adapter.h"
#include "protocol/text_rules.h"

namespace kt::protocol {

void Queries::logReply(Query query, std::string_view reply)
{
    std::string line(queryEntry(query).tag);
    line += "-->";
    line += reply;
    ctx_.log.addLog(line);
}

bool Queries::getText(Query query, std::string_view label)
{
    const std::string reply = ctx_.ask(queryEntry(query).bytes);
    const std::string_view value = replyValue(reply);
    if (value.empty())
        return false;
    logReply(query, reply);
    ctx_.view.setText(label, value);
    return true;
}

bool Queries::getSW(int switchNo)
{
    const Query query = switchQuery(switchNo);
    const std::string reply = ctx_.ask(queryEntry(query).bytes);
    // A reply that does not begin with a number (no answer at all included)
    // carries no switch byte: showing it as 0 would present eight invented
    // bits that a later write would store in the printer.
    const std::optional<int> value = switchValue(replyValue(reply));
    const bool accepted = value.has_value();
    if (accepted) {
        logReply(query, reply);
        SwitchPageAdapter(ctx_.view, switchNo).show(*value, ctx_.modelKey(), [this](int) {
            ctx_.state.dataChanged = true;
        });
    }
    ctx_.state.dataChanged = false;
    return accepted;
}

bool Queries::getLanguageInfo(int item)
{
    switch (item) {
    case 1: return getText(Query::Language1, controls::lblLANG_INFO(0));
    case 2: return getText(Query::Language2, controls::lblLANG_INFO(1));
    case 3: return getText(Query::Language3, controls::lblLANG_INFO(2));
    case 4: return getText(Query::Language4, controls::lblLANG_INFO(3));
    case 5: return getDensity();
    case 6: return getNew8x16();
    case 7: return getThaiPass();
    default: return false;
    }
}

bool Queries::getDensity()
{
    if (!catalogue::queriesDensity(ctx_.modelKey()))
        return true;
    const bool accepted = getText(Query::Language5, controls::lblLANG_INFO(4));
    language_.syncDensity();
    return accepted;
}

bool Queries::getNew8x16()
{
    const std::string reply = ctx_.ask(queryEntry(Query::Language6).bytes);
    const bool on = new8x16On(replyValue(reply));
    if (on)
        logReply(Query::Language6, reply);
    ctx_.view.setText(controls::lblLANG_INFO(5), on ? "ON" : "OFF");
    return on;
}

bool Queries::getThaiPass()
{
    if (!catalogue::hasThaiFontPass(ctx_.modelKey()))
        return true;
    const std::string reply = ctx_.ask(queryEntry(Query::Language7).bytes);
    if (replyValue(reply).empty()) {
        ctx_.view.setText(controls::lblLANG_INFO(6), "");
        return false;
    }
    logReply(Query::Language7, reply);
    if (const auto caption = thaiPassCaption(replyValue(reply)))
        ctx_.view.setText(controls::lblLANG_INFO(6), *caption);
    return true;
}

bool Queries::getPrinterInfo1()
{
    const Command &command = queryEntry(Query::Printer1).bytes;
    std::string reply = ctx_.ask(command);
    if (replyValue(reply).empty())
        reply = ctx_.ask(command);
    if (replyValue(reply).empty())
        return false;
    logReply(Query::Printer1, reply);
    bool ok = true;
    if (modelReplyAsksAgain(replyValue(reply))) {
        reply = ctx_.ask(command);
        if (replyValue(reply).empty())
            ok = false;
        else
            logReply(Query::Printer1, reply);
    }
    ctx_.view.setText(kModelLabel, replyValue(reply));
    return ok;
}

bool Queries::getPrinterInfo2() { return getText(Query::Printer2, controls::lblKT_INFO(1)); }
bool Queries::getPrinterInfo3() { return getText(Query::Printer3, controls::lblKT_INFO(2)); }
bool Queries::getPrinterInfo3a() { return getText(Query::Printer3a, controls::lblKT_INFO(6)); }

bool Queries::getPrinterInfo4(bool failedCuts)
{
    return failedCuts ? getText(Query::Printer4Failed, controls::lblKT_INFO(7))
                      : getText(Query::Printer4Cut, controls::lblKT_INFO(3));
}

bool Queries::getPrinterInfo5(bool installationDate)
{
    return installationDate ? getText(Query::Printer5Date, controls::lblKT_INFO(5))
                            : getText(Query::Printer5Serial, controls::lblKT_INFO(4));
}

bool Queries::getMakerInfo()
{
    const std::string reply = ctx_.ask(queryEntry(Query::Maker).bytes);
    logReply(Query::Maker, reply);
    // The maker word is looked for in the name that the welcome shows.
    ctx_.state.makerName = replyValue(reply);
    if (!isMakerReply(ctx_.state.makerName))
        return false;
    std::string text
        = "Welcome to " + ctx_.state.makerName + " world.\r\n\r\nCommunication test finished.";
    if (ctx_.state.portKind == "USB")
        text += "\r\n\r\n** Please re-Power ON the USB printer to contunue **";
    ctx_.inform(text);
    return true;
}

} // namespace kt::protocol
