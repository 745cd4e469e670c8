#include "protocol/tab_behaviour.h"

#include <string>

#include "catalogue/availability.h"

namespace kt::protocol {
namespace {

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
            ctx_.view.setEnabled(controls::optSWON(switchNo, k), changeable);
            ctx_.view.setEnabled(controls::optSWOFF(switchNo, k), changeable);
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
        view.setVisible(controls::frameSWm(switchNo), false);
    const catalogue::TabLayout layout
        = catalogue::tabLayout(tab, ctx_.modelKey(), view.checked(controls::optSWON(4, 7)),
                               view.checked(controls::optSWON(2, 0)));
    apply(view, controls::frameLanguageInfo, layout.languageInfo);
    if (tab >= 1 && tab <= 4)
        apply(view, controls::frameSWm(tab), layout.switchPage);
    if (tab == 5) {
        apply(view, controls::frameNew8x16, layout.new8x16);
        apply(view, controls::frameDensity, layout.density);
        apply(view, controls::frameTHAI, layout.thai);
    }
    view.setEnabled(controls::cmdCommunicate, layout.communicateEnabled);
    view.setEnabled(controls::cmd01, layout.printTestsEnabled);
    view.setEnabled(controls::cmd02, layout.printTestsEnabled);
    view.setEnabled(controls::cmd1, layout.settingsEnabled);
    view.setEnabled(controls::cmd2, layout.settingsEnabled);
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
