#include "protocol/additional_switches.h"

#include <array>

#include "catalogue/models.h"
#include "protocol/commands.h"
#include "protocol/switch_write.h"
#include "protocol/text_rules.h"

namespace kt::protocol {
namespace {

constexpr int kNamePauseMs = 1000;

// The digits of a number field: its leading characters, blanks trimmed.
Bytes numberField(std::string_view text, std::size_t fieldWidth, std::size_t dataWidth)
{
    return fixedField(trimBlanks(leftChars(text, fieldWidth)), dataWidth);
}

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

Bytes encodeCodePage(std::string_view text) { return numberField(text, 3, 3); }

Bytes encodeCodePageName(std::string_view text)
{
    return fixedField(upperCase(trimBlanks(midChars(text, 6, 20))), 20);
}

Bytes encodeInterChars(std::string_view text) { return numberField(text, 2, 2); }
Bytes encodeDensity(std::string_view text) { return fixedField(leftChars(text, 1), 1); }

Bytes encodeNew8x16(std::string_view text)
{
    if (trimBlanks(rightChars(text, 3)) == "ON")
        return {'O', 'N'};
    return {0x00, 0x00};
}

Bytes encodeThaiPass(std::string_view text) { return numberField(text, 3, 3); }

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
    context.clock.sleepMs(kNamePauseMs);
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
