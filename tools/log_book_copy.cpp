// Backup: the engine's online backup into a passing name beside the target, checked, then renamed
// into place (a rename never replaces a file that appeared meanwhile). Restore: the backup is
// checked; the log book is taken for this process alone, which empties its write-ahead log into
// it; it is copied whole to the before-restore file the same way; then the backup's pages are
// written over it through the engine, in one transaction. A log book that does not exist yet is
// built as a copy of the backup, the same way.
//
// A kill at any moment leaves each final name either as it was or whole: the log book's own
// journal rolls an unfinished transaction back, and a passing name is removed by the next run
// once the process that made it is gone. A kill after the before-restore file is in place and
// before the transaction ends leaves that file with exactly what the log book holds: the next
// restore finds it so and goes on with it. A before-restore file that holds anything else (the
// log book as it was before an earlier restore that went through) is never replaced or removed:
// it moves to the first free numbered name beside it, and the new one takes its place.
#include "tools/log_book_copy.h"

#include "platform/errors.h"
#include "platform/output_path.h"
#include "platform/sqlcipher_connection.h"
#include "tools/log_book_schema.h"
#include "tools/output_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace vornak::log_book {

namespace {

DatabaseError alreadyThere(const QString &path)
{
    return DatabaseError(QStringLiteral("The file '%1' already exists.").arg(path));
}

// Opens the copy of a log book at `path` and refuses it unless it is usable.
std::unique_ptr<SqlCipherConnection> openChecked(const QString &path, const QString &what, Access access)
{
    auto connection = SqlCipherConnection::open(path, password, access);
    // The check and a copy read each page once: a small cache does, where a large one would only
    // take memory to fault in.
    connection->runStatement(QStringLiteral("PRAGMA cache_size=-1024"), {});
    const QStringList problems = checkCopy(*connection);
    if (!problems.isEmpty())
        throw DatabaseError(
            QStringLiteral("%1 '%2' does not pass the check:\n%3").arg(what, path, problems.join(u'\n')));
    return connection;
}

// Copies `source` to the new file `target`: built under a passing name, checked, renamed into place.
void copyIntoPlace(SqlCipherConnection &source, const QString &target, const QString &what)
{
    const QString building = partialName(target);
    try {
        source.backupTo(building, password);
        openChecked(building, what, Access::ReadWrite);
        if (QFileInfo::exists(target))
            throw alreadyThere(target);
        if (!QFile::rename(building, target))
            throw DatabaseError(QStringLiteral("Could not create file '%1'.").arg(target));
    } catch (...) {
        SqlCipherConnection::removeFiles(building);
        throw;
    }
}

// A digest of everything a log book holds: each table's definition and its rows in key order,
// every value with its kind (numbers to the last bit).
QByteArray contentDigest(SqlCipherConnection &connection)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    const ResultData tables =
        connection.read(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' ORDER BY name"), {});
    for (qsizetype table = 0; table < tables.rowCount; ++table) {
        const QString name = tables.values[table * 2].toString();
        digest.addData(QString(name + u'\n' + tables.values[table * 2 + 1].toString() + u'\n').toUtf8());
        const ResultData rows = connection.read(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid")
                                                    .arg(QString(name).replace(u'"', QStringLiteral("\"\""))),
                                                {});
        for (const Variant &value : rows.values) {
            const bool number = value.type() == Variant::Type::Float || value.type() == Variant::Type::DateTime ||
                                value.type() == Variant::Type::Currency;
            digest.addData(QByteArray::number(int(value.type())) + ':' +
                           (number ? QByteArray::number(value.toDouble(), 'g', 17) : value.toString().toUtf8()) + '\n');
        }
    }
    return digest.result();
}

// Whether the before-restore file `kept` holds exactly what `current` holds: what an earlier
// restore left when it was stopped before the backup's pages were in.
bool holdsTheSame(SqlCipherConnection &current, const QString &kept)
{
    try {
        return contentDigest(*SqlCipherConnection::open(kept, password, Access::ReadOnly)) == contentDigest(current);
    } catch (const DatabaseError &) {
        return false;
    }
}

// Moves the copy an earlier restore kept at `kept` to the first free name `kept`.1, .2, …, so
// that it is never replaced; returns that name.
QString moveAside(const QString &kept)
{
    for (int number = 1;; ++number) {
        const QString aside = kept + QStringLiteral(".%1").arg(number);
        if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
            continue;
        if (QFile::rename(kept, aside))
            return aside;
        if (!QFileInfo::exists(aside))
            throw DatabaseError(QStringLiteral("Could not rename '%1' to '%2'.").arg(kept, aside));
    }
}

}  // namespace

void backup(const QString &file, const QString &copy)
{
    const QString target = writableTarget(copy);
    auto source = SqlCipherConnection::open(file, password, Access::ReadOnly);
    // Any file there is refused; the log book itself is named as such.
    if (outputClash(target) == OutputClash::OpenDatabase)
        refuseDatabaseAsOutput(copy);
    if (QFileInfo::exists(target))
        throw alreadyThere(target);
    removeStalePartials(target);
    copyIntoPlace(*source, target, QStringLiteral("The copy"));
}

QString restore(const QString &copy, const QString &file)
{
    const QString target = writableTarget(file);
    const QString kept = target + QLatin1String(beforeRestoreSuffix);
    if (sameFile(copy, target))
        throw DatabaseError(QStringLiteral("The backup and the log book are the same file."));
    auto source = openChecked(copy, QStringLiteral("The backup"), Access::ReadOnly);
    removeStalePartials(target);
    removeStalePartials(kept);
    if (!QFileInfo::exists(target)) {
        copyIntoPlace(*source, target, QStringLiteral("The restored log book"));
        return {};
    }
    auto current = SqlCipherConnection::open(target, password);
    current->takeSoleUse();
    const bool keptThere = QFileInfo::exists(kept) || QFileInfo(kept).isSymLink();
    const QString movedAside = keptThere && !holdsTheSame(*current, kept) ? moveAside(kept) : QString();
    bool madeKept = false;
    try {
        if (!QFileInfo::exists(kept)) {
            copyIntoPlace(*current, kept, QStringLiteral("The copy of the log book"));
            madeKept = true;
        }
        current->replaceWith(*source);
    } catch (...) {
        if (madeKept)
            SqlCipherConnection::removeFiles(kept);
        if (!movedAside.isEmpty())
            QFile::rename(movedAside, kept);
        throw;
    }
    return movedAside;
}

}  // namespace vornak::log_book
