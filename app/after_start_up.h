#pragma once

#include "app/daily_backup.h"
#include "app/reminder_notice.h"

#include <QObject>

namespace vornak {

class NoticeBar;
class TMainForm;

// What follows the start-up once the main window is there, without holding it up: the day's
// backup of the log book on a thread of its own, and the notice of due events in a strip at the
// bottom of the main window. Neither stops the program when it fails: a line on standard error,
// and for the backup one notice per run. The backup begins once the main window has been painted
// (or a few seconds on, should it not be painted by then): its copying and its key derivation
// would otherwise compete with the window's first frame.
class AfterStartUp : public QObject {
    Q_OBJECT
public:
    // For the log book the main window has open (its path is taken now).
    explicit AfterStartUp(TMainForm &window, QObject *parent = nullptr);
    ~AfterStartUp() override;

    // Shows the notice of the vehicles with due events, if any: those given (the start-up reads
    // them in the background), or else read now; starts the backup once the window is painted.
    void run();
    void run(const QList<reminder_notice::VehicleDue> &vehiclesDue);

    NoticeBar *notice;  // owned by the main window
    DailyBackup backup;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startBackupOncePainted();
    void startAwaitedBackup();
    void startBackup();
    void showDueEvents(const QList<reminder_notice::VehicleDue> &vehicles);
    void backupFailed(const QString &folder);
    void openVehicleEvents(qint64 vehicleId);

    TMainForm &window_;
    QString logBook_;
    bool backupFailureShown_ = false;
    bool backupAwaitsPaint_ = false;  // the window's next paint (or the latest moment) starts the backup
};

}  // namespace vornak
