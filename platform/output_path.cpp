// A path is compared with the open databases by device and inode, links followed; a path that
// names nothing yet is compared by its folder's canonical path and its name, so a journal file
// the engine has not made yet is found too. Only then is an existing file looked into: its first
// bytes, and an attempt to open it read-only with each password a database open here has.
#include "platform/output_path.h"

#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sys/stat.h>

#include <optional>

namespace vornak {

namespace {

constexpr int databasePageUnit = 512;  // every database file is a whole number of pages of this

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId &) const = default;
};

std::optional<FileId> fileId(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

// The canonical spelling of a path that may not exist yet: its folder's canonical path and its name.
QString canonicalSpelling(const QString &path)
{
    const QFileInfo info(QDir::current().absoluteFilePath(path));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QString() : folder + u'/' + info.fileName();
}

bool namesOpenDatabase(const QString &path)
{
    const std::optional<FileId> target = fileId(path);
    const QString spelling = target ? QString() : canonicalSpelling(path);
    for (const SqlCipherConnection::OpenFile &open : SqlCipherConnection::openFiles()) {
        QStringList files = {open.path};
        for (const QString &suffix : SqlCipherConnection::journalSuffixes())
            files.append(open.path + suffix);
        for (const QString &file : std::as_const(files)) {
            if (target ? fileId(file) == target : !spelling.isEmpty() && canonicalSpelling(file) == spelling)
                return true;
        }
    }
    return false;
}

bool isAccessDatabase(const QByteArray &head)
{
    const QByteArray format = head.mid(4, 15);
    return format == "Standard Jet DB" || format == "Standard ACE DB";
}

bool isDatabase(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const QByteArray head = file.read(32);
    file.close();
    if (isAccessDatabase(head))
        return true;
    if (size == 0 || size % databasePageUnit != 0)
        return false;
    QSet<QString> tried;
    for (const SqlCipherConnection::OpenFile &open : SqlCipherConnection::openFiles()) {
        if (tried.contains(open.password))
            continue;
        tried.insert(open.password);
        try {
            SqlCipherConnection::open(path, open.password, Access::ReadOnly);
            return true;
        } catch (const DatabaseError &) {
        }
    }
    return false;
}

}  // namespace

bool sameFile(const QString &first, const QString &second)
{
    const std::optional<FileId> id = fileId(first);
    return id && fileId(second) == id;
}

OutputClash outputClash(const QString &path)
{
    if (namesOpenDatabase(path))
        return OutputClash::OpenDatabase;
    if (isDatabase(QDir::current().absoluteFilePath(path)))
        return OutputClash::Database;
    return OutputClash::None;
}

}  // namespace vornak
