// A protocol controller on fake seams: a form view over maps, a scripted
// printer that records every command and answers from a script, recorded
// messages, a clock that only records its waits, and fake port and program
// controls.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "fakes.h"
#include "protocol/commands.h"
#include "protocol/controller.h"
#include "session/control_names.h"

namespace kt::test {

class ScriptedPrinter : public session::CommandExchanger {
public:
    struct Sent {
        session::Command command;
        std::string mode;
    };

    // The reply to every read of command from now on.
    void answer(const session::Command &command, std::string reply)
    {
        replies_[command] = std::move(reply);
    }
    void answer(protocol::Query query, std::string reply)
    {
        answer(protocol::queryEntry(query).bytes, std::move(reply));
    }
    // Replies used once each, before the lasting answer.
    void answerOnce(protocol::Query query, std::vector<std::string> replies);

    void exchangeCommand(const session::Command &command, std::string &modeAndReply) override;
    std::string lastFailure() const override { return failure; }

    int countOf(const session::Command &command) const;
    int countOf(protocol::Query query) const { return countOf(protocol::queryEntry(query).bytes); }
    std::vector<session::Command> commands() const;
    // The commands sent without asking for a reply.
    std::vector<session::Command> writes() const;

    std::vector<Sent> sent;
    std::string failure; // why no command reaches the printer, when set

private:
    std::map<session::Command, std::string> replies_;
    std::map<session::Command, std::deque<std::string>> once_;
};

class FakePort : public session::PortControl {
public:
    bool openPort(const std::string &name, bool open) override
    {
        calls.push_back(name + (open ? " open" : " close"));
        return opens;
    }
    std::string serialSettings() const override { return settings; }

    bool opens = true;
    std::string settings = "9600,N,8,1";
    std::vector<std::string> calls;
};

class FakeProgram : public session::ProgramControl {
public:
    void exitProgram() override { ++exits; }
    int exits = 0;
};

struct ProtocolRig {
    ProtocolRig();

    // The model name as the communication test would have shown it.
    void setModel(const std::string &model) { view.setText(protocol::kModelLabel, model); }
    // A printer that answers every query of the communication test.
    void answerAll(const std::string &model, const std::map<int, std::string> &switches = {});
    // Selects combo item index without running its handler.
    void select(const std::string &combo, int index) { view.setListIndex(combo, index); }
    std::string logText() { return view.text("txtLOG"); }
    std::vector<std::string> messageTexts() const;

    FakeFormView view;
    ScriptedPrinter printer;
    RecordingMessages messages;
    FakeClock clock;
    session::AppState state;
    session::LogHistory log{view};
    FakePort port;
    FakeProgram program;
    protocol::ProtocolContext context{view, printer, messages, clock, state, log, port, program};
    protocol::Controller controller{context};
};

// The bytes of a command as text, "1D 67 34 27 00", for readable failures.
std::string hex(const session::Command &command);
std::vector<std::string> hex(const std::vector<session::Command> &commands);

} // namespace kt::test
