// One QCoreApplication for the whole test program: the serial and socket
// controls and Timer1 need an event loop to exist.
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class QtCoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "kt_session_tests";
        static char *argv[] = {name, nullptr};
        app_ = new QCoreApplication(argc, argv);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QCoreApplication *app_ = nullptr;
};

const auto *const registered = ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

} // namespace
