#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vornak::testing {

// One run of vornak-db: its exit status and what it wrote.
struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

// Runs vornak-db with `args`, in `folder` when one is given.
inline ToolRun runTool(const QStringList &args, const QString &folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VORNAK_DB_PATH), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace vornak::testing
