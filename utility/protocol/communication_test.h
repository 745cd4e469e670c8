// "Communication Test": opens the port, checks the maker, reads the
// printer's identity, counters and language settings, reads the switches
// the model has and then unlocks the window and locks the port choice.
#pragma once

#include "protocol/language_settings.h"
#include "protocol/protocol_context.h"
#include "protocol/queries.h"
#include "protocol/tab_behaviour.h"

namespace kt::protocol {

class CommunicationTest {
public:
    CommunicationTest(ProtocolContext &context, Queries &queries, LanguageSettings &language,
                      TabBehaviour &tabs)
        : ctx_(context), queries_(queries), language_(language), tabs_(tabs)
    { }

    void run();

private:
    // The steps between opening the port and unlocking; false stops the test.
    bool identifyPrinter();
    void readCounters();
    bool readLanguage();
    void readSwitches();
    void unlockWindow();
    // What the maker query found instead of the maker: why nothing reached
    // the printer, no answer, or an answer from another device.
    std::string makerFailureCause() const;
    // Enables the button again and shows a failure message.
    void fail(std::string_view text, bool critical);

    ProtocolContext &ctx_;
    Queries &queries_;
    LanguageSettings &language_;
    TabBehaviour &tabs_;
};

} // namespace kt::protocol
