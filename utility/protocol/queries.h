// The query commands: each sends its command in mode "R", checks the reply,
// logs "<tag>--><reply>" when it accepts it, shows the value and reports
// whether the reply was accepted.
#pragma once

#include "protocol/commands.h"
#include "protocol/language_settings.h"
#include "protocol/protocol_context.h"

namespace kt::protocol {

class Queries {
public:
    Queries(ProtocolContext &context, LanguageSettings &language)
        : ctx_(context), language_(language)
    { }

    // getSW1..getSW4: a number 0..255 is shown on the switch page. The
    // change flag is cleared in every case.
    bool getSW(int switchNo);

    // getLanguageInfo1..7.
    bool getLanguageInfo(int item);

    bool getPrinterInfo1();  // model name, with its retries
    bool getPrinterInfo2();  // firmware revision
    bool getPrinterInfo3();  // hours powered
    bool getPrinterInfo3a(); // lines printed
    bool getPrinterInfo4(bool failedCuts);
    bool getPrinterInfo5(bool installationDate);

    // The maker test; on success shows the welcome message.
    bool getMakerInfo();

private:
    // Sends the query; a non-empty reply is logged and shown in label.
    bool getText(Query query, std::string_view label);
    void logReply(Query query, std::string_view reply);
    bool getDensity();
    bool getNew8x16();
    bool getThaiPass();

    ProtocolContext &ctx_;
    LanguageSettings &language_;
};

} // namespace kt::protocol
