// One QApplication for the whole test program, on the offscreen platform
// unless the environment names another, with the window's font faces. A
// control name that the window does not know fails the running test.
#include <QApplication>
#include <gtest/gtest.h>

#include "window/window_style.h"
#include "window_rig.h"

namespace {

class QtGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kt_window_tests";
        static char *argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        kt::window::style::registerFontSubstitutes();
        kt::test::WindowRig::onUnknownControl
            = [](std::string_view control) { ADD_FAILURE() << "Form1 has no control " << control; };
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication *app_ = nullptr;
};

const auto *const registered = ::testing::AddGlobalTestEnvironment(new QtGuiEnvironment);

} // namespace
