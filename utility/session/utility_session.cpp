#include "session/utility_session.h"

#include <filesystem>

#include <QCoreApplication>

#include "kt_build_info.h"

namespace kt::session {

namespace {

// The directory of the running program, and a directory relative to it
// (the installed layout: bin/ beside lib.../ and share/).
std::string programDirectory() { return QCoreApplication::applicationDirPath().toStdString(); }

std::string besideProgram(const char *relative)
{
    return (std::filesystem::path(programDirectory()) / relative).lexically_normal().string();
}

} // namespace

std::vector<std::string> UtilitySession::libraryDirectoriesOf(const SessionConfig &config)
{
    if (config.libraryDirectory)
        return {*config.libraryDirectory};
    return {programDirectory(), besideProgram(KT_LIBDIR_FROM_BINDIR)};
}

std::vector<std::string> UtilitySession::helpDirectoriesOf(const SessionConfig &config)
{
    if (config.helpDirectories)
        return *config.helpDirectories;
    return {programDirectory(), besideProgram(KT_DOCDIR_FROM_BINDIR)};
}

UtilitySession::UtilitySession(Seams s, const SessionConfig &config)
    : messages_(s.messages, state_),
      parallel_(config.parallelDevice),
      ports_({s.view, state_, messages_, s.clock, serial_, socket_, parallel_}),
      usb_(messages_, libraryDirectoriesOf(config)),
      exchange_({state_, ports_, serial_, socket_, parallel_, usb_, s.clock, messages_}),
      log_(s.view),
      handlers_({s.view, state_, ports_, exchange_, log_, messages_, s.launcher, s.host},
                helpDirectoriesOf(config))
{ }

} // namespace kt::session
