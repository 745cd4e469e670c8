#include "protocol/settings.h"

#include "catalogue/availability.h"
#include "catalogue/models.h"
#include "protocol/additional_switches.h"
#include "protocol/switch_write.h"
#include "protocol/text_rules.h"

namespace kt::protocol {
namespace {

constexpr int kLanguageTab = 5;
constexpr std::string_view kRepower = "After writed software switch, please re-power on printer!!";

bool isSwitchTab(int tab) { return tab >= 1 && tab <= 4; }

} // namespace

void Settings::readSettings(int tab)
{
    if (isSwitchTab(tab)) {
        if (catalogue::readsSwitch(tab, ctx_.modelKey()))
            queries_.getSW(tab);
    } else if (tab == kLanguageTab) {
        readLanguageSettings();
    }
}

void Settings::readLanguageSettings()
{
    if (!queries_.getLanguageInfo(1)) {
        ctx_.critical("Read language information1 error!!\r\n" + std::string(kCheckPort));
        return;
    }
    for (int item = 2; item <= 6; ++item)
        queries_.getLanguageInfo(item);
    language_.syncCodePage();
    language_.syncInterChars();
    language_.syncDensity();
    language_.syncNew8x16();
    queries_.getLanguageInfo(7);
}

bool Settings::baudRateChanged() const
{
    // The catalogue ends the first bit's caption of these models with the
    // baud rate in six characters ("Baud Rate = 9600  "); the serial
    // settings text ends with ",n,8,1".
    const std::string caption = ctx_.view.text(controls::lblSWFunction(1, 0));
    const std::string settings = ctx_.port.serialSettings();
    const std::string_view current
        = leftChars(settings, settings.size() >= 6 ? settings.size() - 6 : 0);
    const double selected = leadingNumber(rightChars(caption, 6)).value_or(0);
    return selected != leadingNumber(current).value_or(0);
}

bool Settings::writeSettings(int tab)
{
    if (tab == kLanguageTab) {
        // Refused before anything is sent: the settings stay unsaved.
        if (const auto missing = missingSelection(ctx_)) {
            ctx_.inform(*missing);
            return false;
        }
    }
    ctx_.state.dataChanged = false;
    if (isSwitchTab(tab))
        writeSwitch(ctx_, tab);
    else if (tab == kLanguageTab)
        writeAdditionalSwitches(ctx_);
    else
        return false;
    ctx_.inform(kRepower);
    const bool ends = ctx_.state.portKind == "TCP"
        || (tab == 1 && ctx_.state.portKind == "COM"
            && catalogue::isZnBaudRateModel(ctx_.modelKey()) && baudRateChanged());
    if (ends)
        ctx_.program.exitProgram();
    return ends;
}

} // namespace kt::protocol
