#include "app/daily_backup.h"

#include "platform/errors.h"
#include "tools/log_book_copy.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QRegularExpression>

#include <cstdio>

namespace vornak {

namespace daily_backup {

namespace {

// Only files of exactly this name are the program's backups; the date in it orders them.
const QRegularExpression backupName(QStringLiteral(R"(^VORNAK-\d{4}-\d{2}-\d{2}\.mdb$)"));

void removeOldest(QDir folder)
{
    QStringList backups = folder.entryList(QDir::Files, QDir::Name | QDir::Reversed);
    backups.removeIf([](const QString &name) { return !backupName.match(name).hasMatch(); });
    for (qsizetype i = kept; i < backups.size(); ++i)
        if (!folder.remove(backups[i]))
            throw Error(QStringLiteral("Could not remove the old backup '%1'.").arg(folder.filePath(backups[i])));
}

}  // namespace

QString folderOf(const QString &logBook)
{
    return QFileInfo(logBook).absoluteDir().filePath(QStringLiteral("VORNAK.backups"));
}

QString fileNameOf(const QDate &day)
{
    return QStringLiteral("VORNAK-%1.mdb").arg(day.toString(Qt::ISODate));
}

QString takeBackup(const QString &logBook, const QDate &today)
{
    const QString folderPath = folderOf(logBook);
    if (!QDir().mkpath(folderPath))
        throw Error(QStringLiteral("Could not create the folder '%1'.").arg(folderPath));
    const QDir folder(folderPath);
    const QString backup = folder.filePath(fileNameOf(today));
    if (QFileInfo::exists(backup))
        return {};
    log_book::backup(logBook, backup);
    removeOldest(folder);
    return backup;
}

}  // namespace daily_backup

DailyBackup::DailyBackup(QObject *parent)
    : QObject(parent)
{
}

DailyBackup::~DailyBackup()
{
    wait();
}

void DailyBackup::start(const QString &logBook, const QDate &today)
{
    wait();
    running_ = std::thread([this, logBook, today] {
        QString failure;
        try {
            daily_backup::takeBackup(logBook, today);
            return;
        } catch (const Error &error) {
            failure = error.message();
        } catch (const std::exception &error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        std::fprintf(stderr, "Automatic backup failed: %s\n", failure.toLocal8Bit().constData());
        // To the window thread; this object waits for the thread before it goes.
        QMetaObject::invokeMethod(
            this, [this, folder = daily_backup::folderOf(logBook)] { Q_EMIT failed(folder); }, Qt::QueuedConnection);
    });
}

void DailyBackup::wait()
{
    if (running_.joinable())
        running_.join();
}

}  // namespace vornak
