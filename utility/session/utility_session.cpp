#include "session/utility_session.h"

#include <QCoreApplication>

namespace kt::session {

std::string UtilitySession::libraryDirectoryOf(const SessionConfig &config)
{
    if (config.libraryDirectory)
        return *config.libraryDirectory;
    return QCoreApplication::applicationDirPath().toStdString();
}

UtilitySession::UtilitySession(Seams s, SessionConfig config)
    : parallel_(config.parallelDevice),
      ports_({s.view, state_, s.messages, s.clock, serial_, socket_, parallel_}),
      usb_(s.messages, libraryDirectoryOf(config)),
      exchange_({state_, ports_, serial_, socket_, parallel_, usb_, s.clock, s.messages}),
      log_(s.view),
      handlers_({s.view, state_, ports_, exchange_, log_, s.messages, s.launcher, s.host})
{
}

} // namespace kt::session
