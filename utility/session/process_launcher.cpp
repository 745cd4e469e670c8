#include "session/process_launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace kt::session {

bool QtProcessLauncher::available(const std::string &program) const
{
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

IoStatus QtProcessLauncher::startDetached(const std::string &program,
                                          const std::vector<std::string> &arguments)
{
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    QStringList args;
    for (const std::string &a : arguments)
        args << QString::fromStdString(a);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return IoStatus::success();
    // Numbered from 1 so that 0 keeps meaning success.
    return IoStatus::failure(static_cast<int>(process.error()) + 1,
                             process.errorString().toStdString(), program);
}

} // namespace kt::session
