#include "protocol_rig.h"

#include <cstdio>

#include "protocol/language_lists.h"

namespace kt::test {
namespace {

template <std::size_t N> std::vector<std::string> items(const std::array<std::string_view, N> &list)
{
    return {list.begin(), list.end()};
}

} // namespace

void ScriptedPrinter::answerOnce(protocol::Query query, std::vector<std::string> replies)
{
    auto &queue = once_[protocol::queryEntry(query).bytes];
    queue.insert(queue.end(), replies.begin(), replies.end());
}

void ScriptedPrinter::exchangeCommand(const session::Command &command, std::string &modeAndReply)
{
    sent.push_back({command, modeAndReply});
    const bool read = modeAndReply == "R";
    modeAndReply.clear();
    if (!read)
        return;
    if (auto queued = once_.find(command); queued != once_.end() && !queued->second.empty()) {
        modeAndReply = queued->second.front();
        queued->second.pop_front();
    } else if (auto lasting = replies_.find(command); lasting != replies_.end()) {
        modeAndReply = lasting->second;
    }
}

int ScriptedPrinter::countOf(const session::Command &command) const
{
    int n = 0;
    for (const Sent &s : sent)
        n += s.command == command;
    return n;
}

std::vector<session::Command> ScriptedPrinter::commands() const
{
    std::vector<session::Command> out;
    for (const Sent &s : sent)
        out.push_back(s.command);
    return out;
}

std::vector<session::Command> ScriptedPrinter::writes() const
{
    std::vector<session::Command> out;
    for (const Sent &s : sent)
        if (s.mode != "R")
            out.push_back(s.command);
    return out;
}

ProtocolRig::ProtocolRig()
{
    view.setItems("comboCodePage", items(protocol::kCodePageItems));
    view.setItems("comboCodePageName", items(protocol::kCodePageNameItems));
    view.setItems("comboInterChars", items(protocol::kInterCharsItems));
    view.setItems("comboDensity", items(protocol::kDensityItems));
    view.setItems("comboNew8x16", items(protocol::kNew8x16Items));
    view.setItems("comboTHAI", items(protocol::kThaiItems));
    setModel(" "); // the label's design-time caption
    for (int n = 0; n <= 6; ++n)
        view.setText(session::controls::lblLANG_INFO(n), " ");
}

void ProtocolRig::answerAll(const std::string &model, const std::map<int, std::string> &switches)
{
    using protocol::Query;
    printer.answer(Query::Maker, "TALVORIN");
    printer.answer(Query::Printer1, model);
    printer.answer(Query::Printer2, "V1.07");
    printer.answer(Query::Printer3, "120");
    printer.answer(Query::Printer3a, "3456");
    printer.answer(Query::Printer4Cut, "78");
    printer.answer(Query::Printer4Failed, "2");
    printer.answer(Query::Printer5Serial, "SN0001");
    printer.answer(Query::Printer5Date, "2024-01-02");
    printer.answer(Query::Language1, "STANDARD");
    printer.answer(Query::Language2, "FONTROM1");
    printer.answer(Query::Language3, "19");
    printer.answer(Query::Language4, "3");
    printer.answer(Query::Language5, "1");
    printer.answer(Query::Language6, "ON");
    printer.answer(Query::Language7, "249");
    for (int n = 1; n <= 4; ++n) {
        auto value = switches.find(n);
        printer.answer(protocol::switchQuery(n), value == switches.end() ? "0" : value->second);
    }
}

std::vector<std::string> ProtocolRig::messageTexts() const
{
    std::vector<std::string> out;
    for (const auto &m : messages.shown)
        out.push_back(m.text);
    return out;
}

std::string hex(const session::Command &command)
{
    std::string out;
    char byte[4];
    for (std::uint8_t b : command) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        if (!out.empty())
            out += ' ';
        out += byte;
    }
    return out;
}

std::vector<std::string> hex(const std::vector<session::Command> &commands)
{
    std::vector<std::string> out;
    out.reserve(commands.size());
    for (const auto &c : commands)
        out.push_back(hex(c));
    return out;
}

} // namespace kt::test
