#include "protocol/language_settings.h"

#include <array>
#include <string>

#include "protocol/language_lists.h"
#include "protocol/text_rules.h"

namespace kt::protocol {
namespace {

// How a combo's text is compared with the language caption that was read:
// the key of the text is compared with the caption, padding trimmed.
struct ComboRule {
    std::string_view combo;
    int caption; // the index of its lblLANG_INFO label
    std::string_view (*key)(std::string_view text);
};

std::string_view firstThree(std::string_view t) { return trimTrailingBlanks(leftChars(t, 3)); }
std::string_view firstTwo(std::string_view t) { return trimTrailingBlanks(leftChars(t, 2)); }
std::string_view wholeText(std::string_view t) { return trimBlanks(t); }
std::string_view lastSix(std::string_view t) { return rightChars(t, 6); }

// Density items carry the number the printer reports in their first two
// characters, and the 8x16 item " ON" stands for the caption "ON": both are
// compared by what they mean, so that choosing the item that was read is no
// change.
constexpr std::array<ComboRule, 5> kRules{{
    {controls::comboCodePage, 2, firstThree},
    {controls::comboInterChars, 3, firstTwo},
    {controls::comboDensity, 4, firstTwo},
    {controls::comboNew8x16, 5, wholeText},
    {controls::comboTHAI, 6, lastSix},
}};

} // namespace

void LanguageSettings::syncByNumber(std::string_view captionLabel, std::string_view combo,
                                    std::size_t width)
{
    const std::string caption = ctx_.view.text(captionLabel);
    const std::string_view wanted = trimPadding(caption);
    const int count = ctx_.view.listCount(combo);
    for (int i = 0; i < count; ++i) {
        const std::string item = ctx_.view.listItem(combo, i);
        if (trimTrailingBlanks(leftChars(item, width)) == wanted) {
            ctx_.view.setListIndex(combo, i);
            comboClick(combo);
        }
    }
}

void LanguageSettings::syncCodePage()
{
    syncByNumber(controls::lblLANG_INFO(2), controls::comboCodePage, 3);
}
void LanguageSettings::syncInterChars()
{
    syncByNumber(controls::lblLANG_INFO(3), controls::comboInterChars, 2);
}
void LanguageSettings::syncDensity()
{
    syncByNumber(controls::lblLANG_INFO(4), controls::comboDensity, 2);
}

void LanguageSettings::syncNew8x16()
{
    const std::string caption = ctx_.view.text(controls::lblLANG_INFO(5));
    const std::string_view head = leftChars(caption, 2);
    if (head == "OF")
        ctx_.view.setListIndex(controls::comboNew8x16, 0);
    else if (head == "ON")
        ctx_.view.setListIndex(controls::comboNew8x16, 1);
    comboClick(controls::comboNew8x16);
}

void LanguageSettings::codePageClick()
{
    const int index = ctx_.view.listIndex(controls::comboCodePage);
    const std::string text = ctx_.view.text(controls::comboCodePage);
    if (index < 0 || text.empty())
        return;
    // The code page name follows the code page by list position, and the
    // character set starts over from the set that fits the code page.
    ctx_.view.setListIndex(controls::comboCodePageName, index);
    const bool katakana = leadingNumber(leftChars(text, 3)).value_or(0) == 1;
    ctx_.view.setListIndex(controls::comboInterChars, katakana ? kInterCharsJapan : kInterCharsUsa);
}

void LanguageSettings::comboClick(std::string_view combo)
{
    bool known = false;
    for (const ComboRule &rule : kRules)
        known = known || rule.combo == combo;
    if (!known)
        return;
    if (combo == controls::comboCodePage)
        codePageClick();
    ctx_.state.dataChanged = anySettingChanged();
}

bool LanguageSettings::anySettingChanged() const
{
    for (const ComboRule &rule : kRules) {
        const std::string text = ctx_.view.text(rule.combo);
        if (text.empty())
            continue;
        const std::string caption = ctx_.view.text(controls::lblLANG_INFO(rule.caption));
        if (rule.key(text) != trimPadding(caption))
            return true;
    }
    return false;
}

} // namespace kt::protocol
