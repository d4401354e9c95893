// The report program: `vornak-db report FILE --vehicle NAME|ID --from DATE --to DATE --pdf OUT`,
// handed over by vornak-db with its arguments. It draws, so it runs as a GUI application on the
// offscreen platform (no window is ever shown: no display needed), with the program's fonts and
// regional conventions. Started as `vornak-db-report --serve ...`, it is the report service
// (report_service.h): made ready once, it runs each report vornak-db hands it in a process forked
// for that report.
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/heap.h"
#include "platform/regional_settings.h"
#include "platform/sqlcipher_key.h"
#include "tools/command_line.h"
#include "tools/log_book_schema.h"
#include "tools/period_report_pdf.h"
#include "tools/report_rehearsal.h"
#include "tools/report_service.h"
#include "tools/report_service_protocol.h"

#include <cstdlib>
#include <cstring>
#include <QGuiApplication>
#include <QLocale>

using namespace vornak;
using namespace vornak::command_line;

namespace {

int report(const QStringList &args, log_book::PeriodReportAhead *ahead)
{
    const QStringList required = {QStringLiteral("vehicle"), QStringLiteral("from"), QStringLiteral("to"),
                                  QStringLiteral("pdf")};
    const auto values = options(args, 1, required);
    if (!values || values->size() != required.size())
        return usage();
    log_book::PeriodReportRequest request;
    request.logBook = args[0];
    request.vehicle = values->value(QStringLiteral("vehicle"));
    request.first = log_book::commandLineDate(values->value(QStringLiteral("from")));
    request.last = log_book::commandLineDate(values->value(QStringLiteral("to")));
    request.pdf = values->value(QStringLiteral("pdf"));
    log_book::writePeriodReportPdf(request, ahead);
    return 0;
}

// The platform and messages of a program that draws without a display: the offscreen platform (no
// window is ever shown), and standard error for this tool's messages only, not the notes of the
// platform (such as a missing runtime folder); Qt's errors still pass.
void drawOffscreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            write(stderr, message + u'\n');
    });
}

void useRegionalConventions()
{
    QLocale::setDefault(RegionalSettings::conventionsLocale(QLocale::system()));
}

// The report, its error written as the command's message; the exit status.
int reportOrMessage(const QStringList &args, log_book::PeriodReportAhead *ahead = nullptr)
{
    try {
        return report(args, ahead);
    } catch (const Error &e) {
        write(stderr, e.message() + u'\n');
        return 1;
    }
}

// The report service's side of the program: the report kept for its requests and the rehearsal on
// a sample log book, made once in the service and taken over by every process it forks.
log_book::PeriodReportAhead *reportAhead = nullptr;
log_book::ReportRehearsal *rehearsal = nullptr;

// In the service, once it listens: the sample made and rehearsed on; the memory it took handed back
// (each process forked later takes its own for its rehearsal).
void rehearseInService()
{
    rehearsal->rehearse();
    handBackFreeMemory();
}

bool rehearsed = false;  // in this process, since the service forked it

// In a process forked ahead of its request, once the service has its sample: the report rehearsed
// on it, and the first megabytes beyond what that took faulted in, while the process waits.
void prepareForRequest()
{
    if (!rehearsal->sampleMade())
        return;
    rehearsal->rehearse();
    const HeapFaultingAhead heapAhead(16 * 1024 * 1024);
    rehearsed = true;
}

// The request, in the process that took it. A rehearsed process finds the log book's key known
// when the service has learnt it from an earlier report; a process forked where the sample could
// not be made has its heap and the key made ready on the other core, as the program on its own.
int runRequest(const QStringList &args)
{
    if (rehearsed)
        return reportOrMessage(args, reportAhead);
    const HeapFaultingAhead heapAhead(16 * 1024 * 1024);
    if (!args.isEmpty())
        deriveLogBookKeyAhead(args[0], log_book::password.toUtf8());
    return reportOrMessage(args, reportAhead);
}

// `vornak-db-report --serve SOCKET LOCK`: what the runs share made once, then reports served.
int serve(int argc, char **argv)
{
    keepFreedMemory();
    drawOffscreen();
    const QGuiApplication app(argc, argv);
    useRegionalConventions();
    RegionalSettings::current();
    int status = 1;
    {
        log_book::PeriodReportAhead ahead;
        reportAhead = &ahead;
        const QString socket = QString::fromLocal8Bit(argv[2]);
        log_book::ReportRehearsal sample(socket + QStringLiteral(".sample"),
                                         [](const QStringList &args) { report(args, reportAhead); });
        rehearsal = &sample;
        status = report_service::serve(argv[2], argv[3], {prepareForRequest, runRequest, rehearseInService});
    }
    end(status);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], report_service::serveArgument) == 0)
        return serve(argc, argv);
    if (argc < 2 || std::strcmp(argv[1], "report") != 0)
        return usage();
    keepFreedMemory();
    // The first tens of megabytes the report writes into come ready, from the other core.
    const HeapFaultingAhead heapAhead(16 * 1024 * 1024);
    if (argc > 2)  // on another core, while the rest starts
        deriveLogBookKeyAhead(QString::fromLocal8Bit(argv[2]), log_book::password.toUtf8());
    drawOffscreen();
    int status = 1;
    {
        const QGuiApplication app(argc, argv);
        useRegionalConventions();
        status = reportOrMessage(QCoreApplication::arguments().mid(2));
#if !defined(__SANITIZE_ADDRESS__)
        end(status);  // without taking the application apart
#endif
    }
    // Under the sanitizers the application object goes first, with the fonts it registered, so
    // that nothing it holds is reported as lost.
    end(status);
}
