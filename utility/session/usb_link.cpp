#include "session/usb_link.h"

#include <dlfcn.h>

namespace kt::session {

namespace {

// Opens the library in directory, by its development name and else by its
// SONAME (an installed runtime has only the latter); an empty handle and
// the reason when neither loads.
void *openLibraryIn(const std::string &directory, std::string &problem)
{
    // A relative directory would be taken from the current directory, and
    // an empty one would let the loader search its own paths: refuse both.
    if (directory.empty() || directory.front() != '/') {
        problem = "the library directory is not an absolute path: \"" + directory + "\"";
        return nullptr;
    }
    const std::string base = directory + "/" + UsbLink::kLibraryName;
    void *handle = ::dlopen(base.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        handle = ::dlopen((base + ".1").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = ::dlerror();
        problem = why ? why : base + ": cannot be loaded";
    }
    return handle;
}

} // namespace

UsbLink::UsbLink(MessageSink &messages, std::vector<std::string> libraryDirectories)
    : messages_(&messages), directories_(std::move(libraryDirectories))
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

    // Every directory's reason is told, one a line, when none holds it.
    std::string problem;
    for (const std::string &directory : directories_) {
        std::string why;
        handle_ = openLibraryIn(directory, why);
        if (handle_)
            break;
        problem += (problem.empty() ? "" : "\r\n") + why;
    }
    if (directories_.empty())
        problem = "no library directory is known";
    if (handle_) {
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
    if (!sendx_ && messages_)
        messages_->show("The USB printer library " + std::string(kLibraryName)
                            + " could not be loaded:\r\n" + problem,
                        MessageIcon::Critical);
    return sendx_;
}

int UsbLink::lastError() const { return lastError_ ? lastError_(nullptr, 0) : 0; }

} // namespace kt::session
