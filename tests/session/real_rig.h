// The whole session over the real Qt controls and devices, with a form view
// over plain maps. The clock is a parameter: logic over real devices runs
// without sleeps where the test has made the reply wait already.
#pragma once

#include <chrono>
#include <thread>

#include "fakes.h"
#include "session/qt_clock.h"
#include "session/utility_session.h"

namespace kt::test {

struct NoLauncher : session::ProcessLauncher {
    bool available(const std::string &) const override { return false; }
    session::IoStatus startDetached(const std::string &program,
                                    const std::vector<std::string> &) override
    {
        return session::IoStatus::failure(1, "no process is started here", program);
    }
};

struct NoHost : session::WindowHost {
    void unloadWindow() override { }
    void endProgram() override { }
};

struct RealRig {
    explicit RealRig(session::Clock &clockToUse, std::string parallelDevice = "/nonexistent/kt-lp0")
        : session({view, messages, clockToUse, launcher, host},
                  {std::move(parallelDevice), std::string(KT4000_DIR), std::vector<std::string>{}})
    {
        view.at("com_BR_115200").checked = true;
        view.at("com_PK_NONE").checked = true;
    }

    void choose(const std::string &port)
    {
        view.at("Combo1").text = port;
        session.handlers().Combo1_Click();
    }

    std::string exchange(const session::Command &command, std::string mode = "R")
    {
        session.exchange().exchangeCommand(command, mode);
        return mode;
    }

    // Polls (with real time) until done() or about five seconds passed.
    template <typename Done> static bool eventually(Done done)
    {
        for (int i = 0; i < 500; ++i) {
            if (done())
                return true;
            session::QtClock().processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }

    FakeFormView view;
    RecordingMessages messages;
    NoLauncher launcher;
    NoHost host;
    session::UtilitySession session;
};

} // namespace kt::test
