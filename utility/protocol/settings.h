// Read Settings and Write Settings of the page on screen.
#pragma once

#include "protocol/language_settings.h"
#include "protocol/protocol_context.h"
#include "protocol/queries.h"

namespace kt::protocol {

class Settings {
public:
    Settings(ProtocolContext &context, Queries &queries, LanguageSettings &language)
        : ctx_(context), queries_(queries), language_(language)
    { }

    // Reads the page of tab from the printer (tabs 1 to 4 by model, tab 5
    // the language settings, other tabs nothing).
    void readSettings(int tab);

    // Writes the page of tab; afterwards asks for a re-power and ends the
    // program where the connection is about to change. True when it ended
    // the program: the caller must not touch the window after that.
    bool writeSettings(int tab);

private:
    void readLanguageSettings();
    // The ZN baud rate rule after a soft switch 1 write on a serial port.
    bool baudRateChanged() const;

    ProtocolContext &ctx_;
    Queries &queries_;
    LanguageSettings &language_;
};

} // namespace kt::protocol
