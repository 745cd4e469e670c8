#include "protocol/communication_test.h"

#include <array>
#include <functional>
#include <string>

#include "catalogue/availability.h"

namespace kt::protocol {
namespace {

constexpr std::string_view kButton = controls::cmdCommunicate;

std::string withPortHint(std::string_view message, std::string_view separator)
{
    return std::string(message) + std::string(separator) + std::string(kCheckPort);
}

} // namespace

void CommunicationTest::fail(std::string_view text, bool critical)
{
    ctx_.view.setEnabled(kButton, true);
    if (critical)
        ctx_.critical(text);
    else
        ctx_.inform(text);
}

std::string CommunicationTest::makerFailureCause() const
{
    if (std::string cause = ctx_.exchanger.lastFailure(); !cause.empty())
        return cause;
    if (ctx_.state.makerName.empty())
        return "The printer gave no answer at all.";
    return "An answer came from a device that is not a TALVORIN POS printer.";
}

void CommunicationTest::run()
{
    ctx_.view.setEnabled(kButton, false);
    if (!ctx_.port.openPort(ctx_.state.portName, true)) {
        ctx_.critical(withPortHint("Communication test error!!", "\r\n"));
    } else {
        if (!identifyPrinter())
            return;
        readCounters();
        if (!readLanguage())
            return;
        tabs_.applySwitchAvailability();
        readSwitches();
        unlockWindow();
    }
    ctx_.view.setEnabled(kButton, true);
    ctx_.state.dataChanged = false;
    ctx_.state.revertingTab = false;
}

bool CommunicationTest::identifyPrinter()
{
    if (!queries_.getMakerInfo()) {
        fail("Please connected TALVORIN POS printer before test.\r\n\r\n" + makerFailureCause(),
             true);
        return false;
    }
    if (!queries_.getPrinterInfo1()) {
        fail(withPortHint("Read printer information1 error!!", "\r\n\r\n"), true);
        return false;
    }
    if (!queries_.getPrinterInfo2()) {
        fail(withPortHint("Read printer information2 error!!", "\r\n\r\n"), true);
        return false;
    }
    return true;
}

void CommunicationTest::readCounters()
{
    struct Counter {
        std::function<bool()> query;
        std::string_view failure;
    };
    const std::array<Counter, 6> counters{{
        {[this] { return queries_.getPrinterInfo3(); }, "Read printer information3 error!!"},
        {[this] { return queries_.getPrinterInfo3a(); }, "Read printer information3a error!!"},
        {[this] { return queries_.getPrinterInfo4(false); },
         "Read printer information4(0) error!!"},
        {[this] { return queries_.getPrinterInfo4(true); }, "Read printer information4(1) error!!"},
        {[this] { return queries_.getPrinterInfo5(false); },
         "Read printer information5(0) error!!"},
        {[this] { return queries_.getPrinterInfo5(true); }, "Read printer information5(1) error!!"},
    }};
    // The first unreadable counter is reported and the rest are skipped;
    // the test itself goes on.
    for (const Counter &counter : counters) {
        if (!counter.query()) {
            fail(withPortHint(counter.failure, "\r\n\r\n"), false);
            return;
        }
    }
}

bool CommunicationTest::readLanguage()
{
    if (!queries_.getLanguageInfo(1)) {
        fail(withPortHint("Read language information1 error!!", "\r\n"), true);
        return false;
    }
    queries_.getLanguageInfo(2);
    queries_.getLanguageInfo(3);
    queries_.getLanguageInfo(4);
    // The code page step resets the character set, so the character set
    // step must come after it.
    language_.syncCodePage();
    language_.syncInterChars();
    queries_.getLanguageInfo(5);
    queries_.getLanguageInfo(6);
    language_.syncNew8x16();
    queries_.getLanguageInfo(7);
    return true;
}

void CommunicationTest::readSwitches()
{
    for (const catalogue::SwitchQuery &query :
         catalogue::communicationTestQueries(ctx_.modelKey())) {
        bool wanted = true;
        if (query.condition == catalogue::QueryCondition::IfSw4Bit8On)
            wanted = ctx_.view.checked(controls::optSWON(4, 7));
        else if (query.condition == catalogue::QueryCondition::IfSw2Bit1On)
            wanted = ctx_.view.checked(controls::optSWON(2, 0));
        if (wanted)
            queries_.getSW(query.switchNo);
    }
}

void CommunicationTest::unlockWindow()
{
    session::FormView &view = ctx_.view;
    view.setVisible(controls::SSTab1, true);
    view.setVisible(controls::frameLanguageInfo, true);
    view.setEnabled(controls::lblPORT, false);
    view.setEnabled(controls::Combo1, false);
    view.setEnabled(controls::cmd01, true);
    view.setEnabled(controls::cmd02, true);
    // The port cannot change from here on: its settings are locked too.
    const auto disableAll = [&view](const auto &names) {
        for (std::string_view name : names)
            view.setEnabled(name, false);
    };
    if (view.visible(controls::frameCOMm))
        disableAll(controls::kSerialSettings);
    if (view.visible(controls::frameTCPIP))
        disableAll(controls::kNetworkSettings);
}

} // namespace kt::protocol
