// The report program: `vornak-db report FILE --vehicle NAME|ID --from DATE --to DATE --pdf OUT`,
// handed over by vornak-db with its arguments. It draws, so it runs as a GUI application on the
// offscreen platform (no window is ever shown: no display needed), with the program's fonts and
// regional conventions.
#include "platform/errors.h"
#include "platform/heap.h"
#include "platform/regional_settings.h"
#include "platform/sqlcipher_key.h"
#include "tools/command_line.h"
#include "tools/log_book_schema.h"
#include "tools/period_report_pdf.h"

#include <cstring>
#include <QGuiApplication>
#include <QLocale>

using namespace vornak;
using namespace vornak::command_line;

namespace {

int report(const QStringList &args)
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
    log_book::writePeriodReportPdf(request);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], "report") != 0)
        return usage();
    keepFreedMemory();
    // The first tens of megabytes the report writes into come ready, from the other core.
    const HeapFaultingAhead heapAhead(16 * 1024 * 1024);
    if (argc > 2)  // on another core, while the rest starts
        deriveLogBookKeyAhead(QString::fromLocal8Bit(argv[2]), log_book::password.toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries this tool's messages only, not the notes of the offscreen platform
    // (such as a missing runtime folder); Qt's errors still pass.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            write(stderr, message + u'\n');
    });
    int status = 1;
    {
        const QGuiApplication app(argc, argv);
        try {
            QLocale::setDefault(RegionalSettings::conventionsLocale(QLocale::system()));
            status = report(QCoreApplication::arguments().mid(2));
        } catch (const Error &e) {
            write(stderr, e.message() + u'\n');
        }
#if !defined(__SANITIZE_ADDRESS__)
        end(status);  // without taking the application apart
#endif
    }
    // Under the sanitizers the application object goes first, with the fonts it registered, so
    // that nothing it holds is reported as lost.
    end(status);
}
