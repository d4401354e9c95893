#include "app/after_start_up.h"

#include "app/main_form.h"
#include "app/notice_bar.h"
#include "app/reminder_notice.h"
#include "data/data_module.h"
#include "platform/clock.h"
#include "tools/vehicle_lookup.h"

#include <QBoxLayout>
#include <QEvent>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

namespace vornak {

namespace {

constexpr int backupLatestMs = 3000;  // the backup begins by then even if the window is not painted

}  // namespace

AfterStartUp::AfterStartUp(TMainForm &window, QObject *parent)
    : QObject(parent),
      notice(new NoticeBar(&window)),
      window_(window),
      logBook_(TMainForm::DatabasePath())
{
    if (auto *layout = qobject_cast<QBoxLayout *>(window.layout()))
        layout->addWidget(notice);
    connect(&backup, &DailyBackup::failed, this, &AfterStartUp::backupFailed);
}

AfterStartUp::~AfterStartUp() = default;

void AfterStartUp::run()
{
    run(reminder_notice::readVehiclesDue(DataModule1->ADOConnection1->Engine(), Clock::current().now().date()));
}

void AfterStartUp::run(const QList<reminder_notice::VehicleDue> &vehiclesDue)
{
    showDueEvents(vehiclesDue);
    startBackupOncePainted();
}

void AfterStartUp::startBackupOncePainted()
{
    // An exposed window has had its first frame painted while its exposure was handled.
    const QWindow *handle = window_.windowHandle();
    if (handle && handle->isExposed()) {
        startBackup();
        return;
    }
    if (backupAwaitsPaint_)
        return;
    backupAwaitsPaint_ = true;
    window_.installEventFilter(this);
    // A window started minimized or on another desktop is not painted until it is looked at.
    QTimer::singleShot(backupLatestMs, this, &AfterStartUp::startAwaitedBackup);
}

bool AfterStartUp::eventFilter(QObject *watched, QEvent *event)
{
    // Once this frame is painted and on the screen.
    if (watched == &window_ && event->type() == QEvent::Paint && backupAwaitsPaint_)
        QTimer::singleShot(0, this, &AfterStartUp::startAwaitedBackup);
    return QObject::eventFilter(watched, event);
}

void AfterStartUp::startAwaitedBackup()
{
    if (!backupAwaitsPaint_)
        return;
    backupAwaitsPaint_ = false;
    window_.removeEventFilter(this);
    startBackup();
}

void AfterStartUp::startBackup()
{
    backup.start(logBook_, Clock::current().now().date());
}

void AfterStartUp::showDueEvents(const QList<reminder_notice::VehicleDue> &vehicles)
{
    if (vehicles.isEmpty())
        return;
    notice->addLine(reminder_notice::heading);
    for (const reminder_notice::VehicleDue &vehicle : vehicles)
        notice->addLink(vehicle.text, [this, id = vehicle.vehicleId] { openVehicleEvents(id); });
}

void AfterStartUp::backupFailed(const QString &folder)
{
    if (backupFailureShown_)
        return;
    backupFailureShown_ = true;
    notice->addLine(
        QStringLiteral("Не удалось сделать резервную копию журнала в папке «%1». Журнал цел, работа продолжается.")
            .arg(folder));
}

void AfterStartUp::openVehicleEvents(qint64 vehicleId)
{
    log_book::selectVehicle(*DataModule1, QString::number(vehicleId));
    window_.PageControl1->setCurrentWidget(window_.TabSheet7);
}

}  // namespace vornak
