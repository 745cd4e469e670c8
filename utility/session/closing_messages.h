// The message seam while the run ends: once EXIT or closing the window has
// begun ending it, a handler that was interrupted meanwhile must not show
// anything on a window that has gone. Messages are dropped then, and a
// question is answered No, so that nothing more is done.
#pragma once

#include "session/app_state.h"
#include "session/messages.h"

namespace kt::session {

class ClosingMessages : public MessageSink {
public:
    ClosingMessages(MessageSink &shown, const AppState &state) : shown_(shown), state_(state) { }

    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons,
                       std::string_view title) override
    {
        if (state_.ending)
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
        return shown_.show(text, icon, buttons, title);
    }

    void showText(std::string_view title, std::string_view text) override
    {
        if (!state_.ending)
            shown_.showText(title, text);
    }

private:
    MessageSink &shown_;
    const AppState &state_;
};

} // namespace kt::session
