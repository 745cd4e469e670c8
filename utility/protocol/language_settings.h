// The combo boxes of the "Additional Soft_Switch" tab against the language
// captions read from the printer: the selection steps that copy a caption
// into its combo, and the combo click handlers that keep the change flag.
#pragma once

#include <string_view>

#include "protocol/protocol_context.h"

namespace kt::protocol {

class LanguageSettings {
public:
    explicit LanguageSettings(ProtocolContext &context) : ctx_(context) { }

    // Selection steps: every combo item whose number field equals the
    // caption is selected in turn and its click handler runs.
    void syncCodePage();
    void syncInterChars();
    void syncDensity();
    void syncNew8x16();

    // Click handler of comboCodePage, comboInterChars, comboDensity,
    // comboNew8x16 or comboTHAI; other names are ignored.
    void comboClick(std::string_view combo);

    // Whether any combo of the tab that has a selection differs from what
    // the printer reported. A combo without a selection is not a change.
    bool anySettingChanged() const;

private:
    void codePageClick();
    void syncByNumber(std::string_view caption, std::string_view combo, std::size_t width);

    ProtocolContext &ctx_;
};

} // namespace kt::protocol
