#include "session/usb_link.h"

#include <dlfcn.h>

namespace kt::session {

UsbLink::UsbLink(MessageSink &messages, std::string libraryDirectory)
    : messages_(&messages), directory_(std::move(libraryDirectory))
{ }

UsbLink::UsbLink(SendxFunction bound, LastErrorFunction boundLastError)
    : sendx_(bound), lastError_(boundLastError), tried_(true)
{ }

UsbLink::~UsbLink()
{
    if (handle_)
        ::dlclose(handle_);
}

SendxFunction UsbLink::sendx()
{
    if (tried_)
        return sendx_;
    tried_ = true;

    // A relative directory would be taken from the current directory, and
    // an empty one would let the loader search its own paths: refuse both.
    std::string problem;
    if (directory_.empty() || directory_.front() != '/') {
        problem = "the library directory is not an absolute path: \"" + directory_ + "\"";
    } else {
        const std::string base = directory_ + "/" + kLibraryName;
        handle_ = ::dlopen(base.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            handle_ = ::dlopen((base + ".1").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            const char *why = ::dlerror();
            problem = why ? why : base + ": cannot be loaded";
        } else {
            ::dlerror();
            void *symbol = ::dlsym(handle_, "sendx");
            if (!symbol) {
                const char *why = ::dlerror();
                problem = why ? why : "sendx not found";
            } else {
                sendx_ = reinterpret_cast<SendxFunction>(symbol);
                // Older libraries do not tell their errors.
                lastError_ = reinterpret_cast<LastErrorFunction>(::dlsym(handle_, "KT_lastError"));
            }
        }
    }
    if (!sendx_ && messages_)
        messages_->show("The USB printer library " + std::string(kLibraryName)
                            + " could not be loaded:\r\n" + problem,
                        MessageIcon::Critical);
    return sendx_;
}

int UsbLink::lastError() const { return lastError_ ? lastError_(nullptr, 0) : 0; }

} // namespace kt::session
