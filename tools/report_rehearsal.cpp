#include "tools/report_rehearsal.h"

#include "platform/database.h"
#include "platform/errors.h"
#include "tools/demo_log_book.h"
#include "tools/log_book_schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>

namespace vornak::log_book {

namespace {

const QDate sampleEnd(2026, 12, 31);

}  // namespace

ReportRehearsal::ReportRehearsal(const QString &folder, std::function<void(const QStringList &)> report)
    : folder_(folder),
      report_(std::move(report)),
      maker_(QCoreApplication::applicationPid())
{
    QDir(folder_).removeRecursively();
    QDir().mkpath(folder_);
}

ReportRehearsal::~ReportRehearsal()
{
    if (QCoreApplication::applicationPid() == maker_)
        QDir(folder_).removeRecursively();
}

void ReportRehearsal::rehearse()
{
    const QDir folder(folder_);
    const QString logBook = folder.filePath(fileName);
    // Named after the process: a process forked from this one rehearses beside it.
    const QString pdf = folder.filePath(QStringLiteral("rehearsal-%1.pdf").arg(QCoreApplication::applicationPid()));
    try {
        if (!sampleMade_ && folder.exists()) {
            create(logBook);
            fillDemo(*Connection::open(connectionString(logBook)), sampleEnd);
            sampleMade_ = true;
        }
        if (sampleMade_)
            report_({logBook, QStringLiteral("--vehicle"), QStringLiteral("1"), QStringLiteral("--from"),
                     sampleEnd.addYears(-1).addDays(1).toString(Qt::ISODate), QStringLiteral("--to"),
                     sampleEnd.toString(Qt::ISODate), QStringLiteral("--pdf"), pdf});
    } catch (const Error &) {
    }
    QFile::remove(pdf);
}

}  // namespace vornak::log_book
