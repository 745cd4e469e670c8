#include "session/form_handlers.h"

#include <array>
#include <filesystem>

#include "session/control_names.h"
#include "session/print_tests.h"

namespace kt::session {
namespace {

constexpr std::array<const char *, 7> kViewers{
    "xdg-open", "gnome-text-editor", "gedit", "mousepad", "pluma", "kwrite", "xed",
};

// Runs one print test: the button is disabled while its commands go out and
// enabled again, with the focus, whatever the exchange did.
template <typename Send> void runPrintTest(FormView &view, std::string_view button, Send send)
{
    view.setEnabled(button, false);
    send();
    view.setEnabled(button, true);
    view.setFocus(button);
}

} // namespace

void FormHandlers::Form_Load()
{
    p_.state.setPort(p_.view.text(controls::Combo1));
    p_.ports.cmdSTATUS_Click();
    p_.view.setText(controls::comboInterChars, p_.view.listItem(controls::comboInterChars, 0));
    p_.state.makerName = "**";
    for (std::size_t i = 0; i < p_.state.bitWeight.size(); ++i)
        p_.state.bitWeight[i] = static_cast<std::int16_t>(1 << i);
    p_.state.dataChanged = false;
    p_.state.revertingTab = false;
}

// Both ways out may be taken while another handler waits inside an
// exchange (the TCP exchange lets window events run): marking the run as
// ending first makes that handler stop where it is, without sending,
// waiting or showing anything more.
void FormHandlers::Form_Unload()
{
    p_.state.ending = true;
    p_.ports.openPort(p_.state.portName, false);
}

void FormHandlers::cmdEXIT_Click()
{
    p_.state.ending = true;
    p_.ports.openPort(p_.state.portName, false);
    p_.host.unloadWindow();
    p_.host.endProgram();
}

std::optional<std::string> FormHandlers::helpViewer() const
{
    for (const char *viewer : kViewers)
        if (p_.launcher.available(viewer))
            return viewer;
    return std::nullopt;
}

void FormHandlers::cmdHELP_Click()
{
    // A viewer given a missing file may only complain on its own terminal.
    const std::optional<std::string> file = findHelpFile(helpDirectories_);
    if (!file) {
        std::error_code error;
        const std::filesystem::path here = std::filesystem::current_path(error);
        p_.messages.show(std::string("The help file ") + kHelpFileName + " was not found in "
                             + (here.empty() ? std::string("the current directory") : here.string())
                             + ".",
                         MessageIcon::Critical);
        return;
    }
    const std::optional<std::string> viewer = helpViewer();
    if (!viewer) {
        showHelpText(*file, "No text viewer is installed (xdg-open or a text editor).");
        return;
    }
    if (const IoStatus started = p_.launcher.startDetached(*viewer, {*file}); !started)
        showHelpText(*file,
                     "Could not start " + *viewer + " for " + kHelpFileName + ":\r\n"
                         + started.description());
}

void FormHandlers::showHelpText(const std::string &file, const std::string &reason)
{
    if (const std::optional<std::string> text = readHelpText(file))
        p_.messages.showText(kHelpFileName, *text);
    else
        p_.messages.show(reason + "\r\nThe help file " + file + " could not be read either.",
                         MessageIcon::Critical);
}

void FormHandlers::cmd01_Click()
{
    runPrintTest(p_.view, controls::cmd01, [this] {
        std::string mode = "R";
        p_.exchanger.exchangeCommand(selfTestCommand(), mode);
    });
}

void FormHandlers::cmd02_Click()
{
    runPrintTest(p_.view, controls::cmd02, [this] {
        for (const Command &command : fontsTestCommands()) {
            std::string mode;
            p_.exchanger.exchangeCommand(command, mode);
        }
    });
}

} // namespace kt::session
