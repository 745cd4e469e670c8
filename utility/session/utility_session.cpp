#include "session/utility_session.h"

#include <QCoreApplication>

namespace kt::session {

std::string UtilitySession::libraryDirectoryOf(const SessionConfig &config)
{
    if (config.libraryDirectory)
        return *config.libraryDirectory;
    return QCoreApplication::applicationDirPath().toStdString();
}

UtilitySession::UtilitySession(Seams s, const SessionConfig &config)
    : messages_(s.messages, state_),
      parallel_(config.parallelDevice),
      ports_({s.view, state_, messages_, s.clock, serial_, socket_, parallel_}),
      usb_(messages_, libraryDirectoryOf(config)),
      exchange_({state_, ports_, serial_, socket_, parallel_, usb_, s.clock, messages_}),
      log_(s.view),
      handlers_({s.view, state_, ports_, exchange_, log_, messages_, s.launcher, s.host})
{ }

} // namespace kt::session
