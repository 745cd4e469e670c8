#include "session/process_launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace kt::session {

bool QtProcessLauncher::available(const std::string &program) const
{
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

bool QtProcessLauncher::startDetached(const std::string &program,
                                      const std::vector<std::string> &arguments, std::string &error)
{
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    QStringList args;
    for (const std::string &a : arguments)
        args << QString::fromStdString(a);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    error = process.errorString().toStdString();
    return false;
}

} // namespace kt::session
