// The one seam through which every message box of the utility is shown, so
// that tests can record the messages and answer Yes or No.
#pragma once

#include <string>
#include <string_view>

namespace kt::session {

enum class MessageIcon { None, Information, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The program's default title of every message box.
inline constexpr std::string_view kDefaultMessageTitle = "KT_SW_Utility";

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows a modal message; an empty title means the default title. Texts
    // carry their CR LF pairs as they are.
    virtual MessageAnswer show(std::string_view text, MessageIcon icon,
                               MessageButtons buttons = MessageButtons::Ok,
                               std::string_view title = {})
        = 0;
    // Shows a long text in a read-only window of the utility (the help
    // file when no viewer can be started); by default in a message box.
    virtual void showText(std::string_view title, std::string_view text)
    {
        show(text, MessageIcon::None, MessageButtons::Ok, title);
    }
};

} // namespace kt::session
