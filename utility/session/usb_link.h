// The printer link library's sendx export, bound by name on first use.
//
// The library is loaded from fixed absolute directories (the executable's
// own, then the installed library directory beside it, by default), never
// from the current directory: whoever controls the current directory must
// not get code run inside the utility.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KT4000.h"
#include "session/messages.h"

namespace kt::session {

using SendxFunction = decltype(&::sendx);
using LastErrorFunction = decltype(&::KT_lastError);

class UsbLink {
public:
    // Binds libKT4000.so from the first of libraryDirectories that holds
    // it, when first asked.
    UsbLink(MessageSink &messages, std::vector<std::string> libraryDirectories);
    UsbLink(MessageSink &messages, std::string libraryDirectory)
        : UsbLink(messages, std::vector<std::string>{std::move(libraryDirectory)})
    { }
    // Already bound (a stand-in for tests or a statically linked caller).
    explicit UsbLink(SendxFunction bound, LastErrorFunction boundLastError = nullptr);
    ~UsbLink();
    UsbLink(const UsbLink &) = delete;
    UsbLink &operator=(const UsbLink &) = delete;

    // The bound export, or nullptr when the library or the symbol is
    // missing; that is told through the message seam once per run.
    SendxFunction sendx();

    // The system error behind the last call of sendx (KT_lastError), 0 when
    // it succeeded or the library does not tell.
    int lastError() const;

    static constexpr const char *kLibraryName = "libKT4000.so";

private:
    MessageSink *messages_ = nullptr;
    std::vector<std::string> directories_;
    void *handle_ = nullptr;
    SendxFunction sendx_ = nullptr;
    LastErrorFunction lastError_ = nullptr;
    bool tried_ = false;
};

} // namespace kt::session
