// The Communication Test of the whole window over TCP against the printer
// emulator, timed from the model query to the last query (the welcome box
// before the model query waits for the user, not for the printer). Its
// figure is the ratio of that time to the waits the TCP exchange must make
// in the same span: the fixed pause after sending each command and the one
// after taking each reply. Target: a ratio of at most 1.15.
//
// Run: bench_communication_test (a window on the offscreen platform unless
// QT_QPA_PLATFORM names another).
#include <chrono>

#include <QApplication>
#include <benchmark/benchmark.h>

#include "emulator_rig.h"
#include "protocol/commands.h"
#include "session/command_exchange.h"
#include "window/window_style.h"

namespace {

using kt::session::Command;
using Clock = std::chrono::steady_clock;

// Passes every command on to the session's exchange; from the model query
// on it keeps the time taken and the waits the exchange had to make.
class TimedExchange : public kt::session::CommandExchanger {
public:
    explicit TimedExchange(kt::session::CommandExchanger &exchange) : exchange_(exchange) { }

    void exchangeCommand(const Command &command, std::string &modeAndReply) override
    {
        if (!timing_ && command == kt::protocol::queryEntry(kt::protocol::Query::Printer1).bytes) {
            timing_ = true;
            start_ = Clock::now();
        }
        const bool read = modeAndReply == "R";
        exchange_.exchangeCommand(command, modeAndReply);
        if (!timing_)
            return;
        end_ = Clock::now();
        ++commands_;
        mandatedMs_ += kt::session::kTcpSendWaitMs + (read ? kt::session::kTcpAfterReadMs : 0);
    }

    double elapsedMs() const
    {
        return std::chrono::duration<double, std::milli>(end_ - start_).count();
    }
    double mandatedMs() const { return mandatedMs_; }
    int commands() const { return commands_; }
    bool timing() const { return timing_; }

private:
    kt::session::CommandExchanger &exchange_;
    bool timing_ = false;
    Clock::time_point start_, end_;
    double mandatedMs_ = 0;
    int commands_ = 0;
};

// The test succeeded: the model was shown and nothing was critical.
bool identified(kt::test::EmulatorRig &rig)
{
    for (const auto &message : rig.messages().shown)
        if (message.icon == kt::session::MessageIcon::Critical)
            return false;
    return rig.view().text("lblKT_INFO(0)") == rig.printer->profile().model;
}

void BM_CommunicationTestOverTcp(benchmark::State &state, const char *model)
{
    double elapsedMs = 0, mandatedMs = 0;
    int commands = 0, pollRounds = 0;
    for (auto _ : state) {
        kt::emu::EmulatorOptions options;
        options.model = model;
        kt::test::EmulatorRig rig(kt::test::Transport::Tcp, options);
        TimedExchange timed(rig.window->session.exchange());
        rig.window->useProtocol(&timed);
        // Rounds spent polling for the first byte of a reply, for the
        // reader of the figure: they are the printer's time, not a wait.
        rig.window->clock.asked = [&](int ms) {
            if (timed.timing() && ms == kt::session::kTcpPollIntervalMs)
                ++pollRounds;
        };

        rig.press("cmdCommunicate");

        if (!identified(rig) || timed.commands() == 0) {
            state.SkipWithError("the communication test did not identify the printer");
            break;
        }
        state.SetIterationTime(timed.elapsedMs() / 1000);
        elapsedMs += timed.elapsedMs();
        mandatedMs += timed.mandatedMs();
        commands = timed.commands();
    }
    if (mandatedMs > 0) {
        state.counters["ratio"] = elapsedMs / mandatedMs;
        state.counters["mandated_ms"] = mandatedMs / static_cast<double>(state.iterations());
        state.counters["commands"] = commands;
        state.counters["poll_rounds"]
            = pollRounds / static_cast<double>(state.iterations() * commands);
        state.SetLabel("ratio target <= 1.15");
    }
}
BENCHMARK_CAPTURE(BM_CommunicationTestOverTcp, KT4000, "KT-4000")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CommunicationTestOverTcp, KT9100X, "KT-9100X")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kt::window::style::registerFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
