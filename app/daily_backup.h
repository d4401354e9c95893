#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <thread>

namespace vornak {

// The log book's automatic backup: once a day, an online copy of the log book into the folder
// "VORNAK.backups" beside it, named after the day ("VORNAK-2026-12-10.mdb"), made by the code of
// `vornak-db backup`. The 10 newest backups of that name are kept; nothing else in the folder is
// ever touched.
namespace daily_backup {

inline constexpr int kept = 10;

// The folder of the backups of the log book `logBook`, and the name of the backup of `day`.
QString folderOf(const QString &logBook);
QString fileNameOf(const QDate &day);

// Takes today's backup unless it exists, then removes the oldest backups beyond `kept`. Returns
// the backup made, or nothing when today's was there. Raises Error when the folder cannot be made
// or the backup fails; the log book itself is only read.
QString takeBackup(const QString &logBook, const QDate &today);

}  // namespace daily_backup

// Takes the day's backup on a thread of its own, so that the windows go on at once. A failure is
// one line on standard error and `failed` (in the window thread); the program goes on. Waits for
// a backup under way when destroyed.
class DailyBackup : public QObject {
    Q_OBJECT
public:
    explicit DailyBackup(QObject *parent = nullptr);
    ~DailyBackup() override;

    void start(const QString &logBook, const QDate &today);
    // True once a backup has been started (it may be done).
    bool started() const { return running_.joinable(); }
    // Waits until the backup started is done (for closing, and for tests).
    void wait();

Q_SIGNALS:
    void failed(const QString &folder);

private:
    std::thread running_;
};

}  // namespace vornak
