#include "protocol/tab_behaviour.h"

#include <string>

#include "catalogue/availability.h"
#include "protocol/switch_page_adapter.h"

namespace kt::protocol {
namespace {

std::string switchFrame(int switchNo) { return "frameSW" + std::to_string(switchNo) + "m"; }

void apply(session::FormView &view, std::string_view control, catalogue::Visibility visibility)
{
    if (visibility != catalogue::Visibility::Leave)
        view.setVisible(control, visibility == catalogue::Visibility::Show);
}

} // namespace

void TabBehaviour::applySwitchAvailability()
{
    const std::string model = ctx_.modelKey();
    for (int switchNo = 1; switchNo <= 4; ++switchNo) {
        const bool changeable = catalogue::switchChangeable(switchNo, model);
        for (int k = 0; k < 8; ++k) {
            ctx_.view.setEnabled(optionName(switchNo, k, true), changeable);
            ctx_.view.setEnabled(optionName(switchNo, k, false), changeable);
        }
    }
}

std::string TabBehaviour::pageName(int tab)
{
    if (tab >= 1 && tab <= 4)
        return "SW" + std::to_string(tab);
    return tab == 5 ? "Additional Switch" : "";
}

void TabBehaviour::applyLayout(int tab)
{
    session::FormView &view = ctx_.view;
    for (int switchNo = 1; switchNo <= 4; ++switchNo)
        view.setVisible(switchFrame(switchNo), false);
    const catalogue::TabLayout layout = catalogue::tabLayout(
        tab, ctx_.modelKey(), view.checked("optSW4ON(7)"), view.checked("optSW2ON(0)"));
    apply(view, "frameLanguageInfo", layout.languageInfo);
    if (tab >= 1 && tab <= 4)
        apply(view, switchFrame(tab), layout.switchPage);
    if (tab == 5) {
        apply(view, "frameNew8x16", layout.new8x16);
        apply(view, "frameDensity", layout.density);
        apply(view, "frameTHAI", layout.thai);
    }
    view.setEnabled("cmdCommunicate", layout.communicateEnabled);
    view.setEnabled("cmd01", layout.printTestsEnabled);
    view.setEnabled("cmd02", layout.printTestsEnabled);
    view.setEnabled("cmd1", layout.settingsEnabled);
    view.setEnabled("cmd2", layout.settingsEnabled);
}

void TabBehaviour::tabClick(int previousTab)
{
    const int tab = ctx_.view.currentTab();
    applyLayout(tab);
    if (previousTab >= 1 && previousTab <= 5 && ctx_.state.dataChanged && !ctx_.state.revertingTab)
        confirmLeaving(previousTab);
}

void TabBehaviour::confirmLeaving(int previousTab)
{
    const std::string text = "Are you sure to ignore <" + pageName(previousTab) + "> settings?";
    const session::MessageAnswer answer = ctx_.messages.show(
        text, session::MessageIcon::None, session::MessageButtons::YesNo, "Switch Change confirm");
    if (answer == session::MessageAnswer::Yes) {
        // The page left shows the printer's values again.
        settings_.readSettings(previousTab);
        ctx_.state.dataChanged = false;
        return;
    }
    // Back to the page left, changes kept. Selecting a tab raises this
    // handler in the window; the view's setter does not, so it runs here.
    const int enteredTab = ctx_.view.currentTab();
    ctx_.state.revertingTab = true;
    ctx_.view.setCurrentTab(previousTab);
    tabClick(enteredTab);
    ctx_.state.revertingTab = false;
}

} // namespace kt::protocol
