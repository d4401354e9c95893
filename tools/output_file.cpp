#include "tools/output_file.h"

#include "platform/errors.h"
#include "platform/output_path.h"
#include "platform/sqlcipher_connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <signal.h>

namespace vornak::log_book {

namespace {

constexpr char partialSuffix[] = ".partial";

// Whether the process `pid` still runs (one that runs under another user included).
bool processRuns(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

QString writableTarget(const QString &path)
{
    if (path.isEmpty())
        throw Error(QStringLiteral("The name of the file to write is missing."));
    const QString target = QDir::current().absoluteFilePath(path);
    const QFileInfo info(target);
    if (!info.exists() && info.isSymLink())
        throw Error(
            QStringLiteral("'%1' is a symbolic link to '%2', which does not exist.").arg(target, info.symLinkTarget()));
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        throw Error(QStringLiteral("The folder '%1' does not exist.").arg(folder.filePath()));
    if (!folder.isDir())
        throw Error(QStringLiteral("'%1' is not a folder.").arg(folder.filePath()));
    if (!folder.isWritable())
        throw Error(QStringLiteral("The folder '%1' is read-only.").arg(folder.filePath()));
    return target;
}

void refuseDatabaseAsOutput(const QString &path)
{
    switch (outputClash(path)) {
    case OutputClash::None:
        return;
    case OutputClash::OpenDatabase:
        throw Error(QStringLiteral("'%1' is the log book: write to another file.").arg(path));
    case OutputClash::Database:
        throw Error(QStringLiteral("'%1' is a database: write to another file.").arg(path));
    }
}

QString partialName(const QString &target)
{
    return target + QStringLiteral(".%1").arg(QCoreApplication::applicationPid()) + QLatin1String(partialSuffix);
}

void removeStalePartials(const QString &target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QRegularExpression leftover(QStringLiteral("^%1\\.(\\d+)%2(%3)?$")
                                          .arg(QRegularExpression::escape(info.fileName()),
                                               QRegularExpression::escape(QLatin1String(partialSuffix)),
                                               SqlCipherConnection::journalSuffixes().join(u'|')));
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const auto match = leftover.match(name);
        if (match.hasMatch() && !processRuns(match.captured(1).toLongLong()))
            QFile::remove(folder.filePath(name));
    }
}

}  // namespace vornak::log_book
