#include "protocol/additional_switches.h"

#include <array>

#include "catalogue/models.h"
#include "protocol/commands.h"

namespace kt::protocol {
namespace {

struct NeededCombo {
    std::string_view combo;
    std::string_view setting; // as the user knows it from the tab
    bool thaiOnly;
};

constexpr std::array<NeededCombo, 4> kNeeded{{
    {controls::comboCodePage, "Code Page", false},
    // The name follows the code page, so the user chooses the code page.
    {controls::comboCodePageName, "Code Page", false},
    {controls::comboInterChars, "International Character Set", false},
    {controls::comboTHAI, "Thai 1Pass or 3Pass", true},
}};

} // namespace

std::optional<std::string> missingSelection(const ProtocolContext &context)
{
    const bool thai = catalogue::hasThaiFontPass(context.modelKey());
    for (const NeededCombo &needed : kNeeded) {
        if (needed.thaiOnly && !thai)
            continue;
        if (context.view.text(needed.combo).empty())
            return "Please select the " + std::string(needed.setting)
                + " first. Nothing was written to the printer.";
    }
    return std::nullopt;
}

void writeAdditionalSwitches(ProtocolContext &context)
{
    const session::FormView &view = context.view;
    context.send(unlockCommand());
    context.send(
        writeCommand(Setting::CodePage, encodeCodePage(view.text(controls::comboCodePage))));
    context.clock.sleepMs(kCodePageNamePauseMs);
    context.send(writeCommand(Setting::CodePageName,
                              encodeCodePageName(view.text(controls::comboCodePageName))));
    context.send(
        writeCommand(Setting::InterChars, encodeInterChars(view.text(controls::comboInterChars))));
    context.send(writeCommand(Setting::Density, encodeDensity(view.text(controls::comboDensity))));
    context.send(writeCommand(Setting::New8x16, encodeNew8x16(view.text(controls::comboNew8x16))));
    if (catalogue::hasThaiFontPass(context.modelKey()))
        context.send(
            writeCommand(Setting::ThaiPass, encodeThaiPass(view.text(controls::comboTHAI))));
    context.send(lockCommand());
}

} // namespace kt::protocol
