// Backup: the engine's online backup into a passing name beside the target, checked, then renamed
// into place (a rename never replaces a file that appeared meanwhile). Restore: the backup is
// checked; the log book is taken for this process alone, which empties its write-ahead log into
// it; it is copied whole to the before-restore file; then the backup's pages are written over it
// through the engine, in one transaction.
#include "tools/log_book_copy.h"

#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tools/log_book_schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vornak::log_book {

namespace {

QString absolute(const QString &path)
{
    return QDir::current().absoluteFilePath(path);
}

DatabaseError alreadyThere(const QString &path)
{
    return DatabaseError(QStringLiteral("The file '%1' already exists.").arg(path));
}

// Opens the log book at `path` and refuses it unless it passes the check.
std::unique_ptr<SqlCipherConnection> openChecked(const QString &path, const QString &what)
{
    auto connection = SqlCipherConnection::open(path, password);
    const QStringList problems = check(*connection);
    if (!problems.isEmpty())
        throw DatabaseError(
            QStringLiteral("%1 '%2' does not pass the check:\n%3").arg(what, path, problems.join(u'\n')));
    return connection;
}

}  // namespace

void backup(const QString &file, const QString &copy)
{
    const QString target = absolute(copy);
    if (QFileInfo::exists(target))
        throw alreadyThere(target);
    const QString building = target + QStringLiteral(".%1.partial").arg(QCoreApplication::applicationPid());
    try {
        SqlCipherConnection::open(file, password)->backupTo(building, password);
        openChecked(building, QStringLiteral("The copy"));
        if (QFileInfo::exists(target))
            throw alreadyThere(target);
        if (!QFile::rename(building, target))
            throw DatabaseError(QStringLiteral("Could not create file '%1'.").arg(target));
    } catch (...) {
        SqlCipherConnection::removeFiles(building);
        throw;
    }
}

void restore(const QString &copy, const QString &file)
{
    const QString target = absolute(file);
    const QString kept = target + QLatin1String(beforeRestoreSuffix);
    auto source = openChecked(copy, QStringLiteral("The backup"));
    if (!QFileInfo::exists(target)) {
        source->backupTo(target, password);
        return;
    }
    if (QFileInfo::exists(kept))
        throw DatabaseError(
            QStringLiteral("The file '%1' is left from an earlier restore; move it away first.").arg(kept));
    auto current = SqlCipherConnection::open(target, password);
    current->takeSoleUse();
    current->backupTo(kept, password);
    current->replaceWith(*source);
}

}  // namespace vornak::log_book
