// Printing the report tab as a user does, against the tests' own print queue: copies without
// collate, "Отмена" in the middle of a print, the pages' place on the sheet whatever printed
// before, a queue removed during a print, nothing changing the pages while they print, closing
// the window during a print, and a print always showing the vehicle and period of one run.

#include "grid/db_grid_eh.h"
#include "platform/errors.h"
#include "report/print/progress.h"
#include "report/script/report_text.h"
#include "tests/app/report_tab_session.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

using namespace vornak;
using namespace vornak::testing;

namespace {

// Runs `action` once, inside the print loop, as soon as the progress window says page `page`.
struct AtPrintedPage {
    QTimer poll;
    AtPrintedPage(int page, std::function<void(TfrxProgress &)> action)
    {
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [this, page, action] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *progress = qobject_cast<TfrxProgress *>(window);
                if (progress && progress->isVisible() &&
                    progress->LMessage->text() == reportText("printingPage").arg(page)) {
                    poll.stop();
                    action(*progress);
                    return;
                }
            }
        });
        poll.start();
    }
};

// The jobs of `queue` in a state ("completed", "all").
int jobs(const TestQueue &queue, const char *state)
{
    return int(runTool(QStringLiteral("lpstat"),
                       {QStringLiteral("-W"), QLatin1String(state), QStringLiteral("-o"), queue.name})
                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   .size());
}

// The pages of the PDF at `path` as indexes of the tab's prepared pages, by their words.
QList<int> printedPages(const PrintingTab &tab, const QString &path)
{
    QStringList printed = runTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).split(QLatin1Char('\f'));
    printed.removeLast();
    QList<int> order;
    for (const QString &page : printed) {
        int found = -1;
        for (int index = 0; index < tab.form.frxReport1->PreviewPages()->Count() && found < 0; ++index)
            if (sortedWords(page) == sortedWords(tab.pageTexts(index).join(QLatin1Char(' '))))
                found = index;
        order.append(found + 1);
    }
    return order;
}

// Answers the print dialog with the test queue, `copies` and collate, and, for a print into a
// file, "Печать в файл" with `file`.
std::function<ModalResult(TfrxPrintDialog &)> printOn(PrintingTab &tab, const TestQueue &queue, int copies = 1,
                                                      bool collate = false, const QString &file = {})
{
    return [&tab, &queue, copies, collate, file](TfrxPrintDialog &dialog) {
        choosePrinter(dialog, queue.name);
        dialog.CopiesE->selectAll();
        QTest::keyClicks(dialog.CopiesE, QString::number(copies));
        if (dialog.CollateCB->isChecked() != collate)
            QTest::mouseClick(dialog.CollateCB, Qt::LeftButton, {}, QPoint(6, dialog.CollateCB->height() / 2));
        if (!file.isEmpty()) {
            tab.dialogs.modalAnswers.push_back([file](QDialog &save) {
                dynamic_cast<QFileDialog &>(save).selectFile(file);
                return ModalResult::Ok;
            });
            QTest::mouseClick(dialog.FileCB, Qt::LeftButton, {}, QPoint(6, dialog.FileCB->height() / 2));
        }
        return click(dialog, dialog.OkB);
    };
}

// Where the first "Карточка" of the PDF at `path` lies on its first page: left and top, in points.
QPointF titlePosition(const QString &path)
{
    const QString boxes = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpressionMatch word =
        QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>Карточка<")).match(boxes);
    return word.hasMatch() ? QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()) : QPointF(-1, -1);
}

QString commandLinePdf(const PrintingTab &tab, const QString &vehicle)
{
    const QString pdf = tab.file.folder() + QStringLiteral("/command-line.pdf");
    runTool(QStringLiteral(VORNAK_DB_PATH),
            {QStringLiteral("report"), tab.file.path(), QStringLiteral("--vehicle"), vehicle, QStringLiteral("--from"),
             QStringLiteral("2011-11-01"), QStringLiteral("--to"), QStringLiteral("2011-11-30"),
             QStringLiteral("--pdf"), pdf});
    return pdf;
}

#define REQUIRE_QUEUE(queue)                                                                                           \
    const TestQueue queue;                                                                                             \
    if (queue.name.isEmpty())                                                                                          \
    GTEST_SKIP() << "no private print queue (scripts/test starts one)"

}  // namespace

// Copies 2 of a 3-page report: collated, the pages come 1,2,3,1,2,3; not collated, the printer
// makes the copies of each page: 1,1,2,2,3,3.
TEST(ReportTabPrinting, CopiesAndCollate)
{
    REQUIRE_QUEUE(queue);
    const struct {
        bool collate;
        QList<int> pages;
    } cases[] = {{true, {1, 2, 3, 1, 2, 3}}, {false, {1, 1, 2, 2, 3, 3}}};
    PrintingTab tab(longLogBook(100));
    ASSERT_EQ(tab.form.frxPreview1->PageCount(), 3);
    for (const auto &row : cases) {
        SCOPED_TRACE(row.collate);
        QFile::remove(queue.output);
        tab.print(printOn(tab, queue, 2, row.collate));
        ASSERT_EQ(waitForPdfPages(queue.output), 6);
        EXPECT_EQ(printedPages(tab, queue.output), row.pages);
    }
}

// "Отмена" at page 2 of 3: no job of this print reaches the queue, and a print into a file leaves
// no file at all in its folder.
TEST(ReportTabPrinting, CancelLeavesNoJobAndNoFile)
{
    REQUIRE_QUEUE(queue);
    PrintingTab tab(longLogBook(100));
    const QString folder = tab.file.folder() + QStringLiteral("/out");
    QDir().mkpath(folder);
    for (const bool toFile : {false, true}) {
        SCOPED_TRACE(toFile);
        const int queued = jobs(queue, "all");
        AtPrintedPage cancel(2, [](TfrxProgress &progress) { QTest::mouseClick(progress.CancelB, Qt::LeftButton); });
        tab.print(printOn(tab, queue, 1, false, toFile ? folder + QStringLiteral("/period.prn") : QString()));
        EXPECT_FALSE(cancel.poll.isActive()) << "the print never reached page 2";
        EXPECT_EQ(jobs(queue, "all"), queued);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList());
        EXPECT_TRUE(tab.previewShowsPages());
    }
    // A print that runs to its end is unchanged.
    tab.print(printOn(tab, queue, 1, false, folder + QStringLiteral("/period.prn")));
    EXPECT_EQ(waitForPdfPages(folder + QStringLiteral("/period.prn")), 3);
}

// To the queue, into a file, to the queue again: on each PDF the title lies within 1 mm of where
// the command line's PDF puts it, and page 1 holds all its rows.
TEST(ReportTabPrinting, PagesLandWhereTheCommandLinePutsThem)
{
    REQUIRE_QUEUE(queue);
    PrintingTab tab(longLogBook(60));
    ASSERT_EQ(tab.form.frxPreview1->PageCount(), 2);
    const QString reference = commandLinePdf(tab, QStringLiteral("Нива"));
    const QPointF title = titlePosition(reference);
    ASSERT_GE(title.x(), 0);
    const double millimetre = 72 / 25.4;
    const QString file = tab.file.folder() + QStringLiteral("/period.prn");
    for (const QString &target : {QString(), file, QString()}) {
        SCOPED_TRACE(target.toStdString());
        const QString output = target.isEmpty() ? queue.output : file;
        QFile::remove(output);
        tab.print(printOn(tab, queue, 1, false, target));
        ASSERT_EQ(waitForPdfPages(output), 2);
        const QPointF printed = titlePosition(output);
        EXPECT_NEAR(printed.x(), title.x(), millimetre);
        EXPECT_NEAR(printed.y(), title.y(), millimetre);
        EXPECT_EQ(printedPages(tab, output), QList<int>({1, 2}));
    }
}

// A queue removed while the pages are drawn: a Russian message, no job and no file, and the
// preview shows the pages again. (A print file that cannot be written: PeriodReport.PrintsIntoAFile.)
TEST(ReportTabPrinting, AQueueRemovedDuringAPrintSaysSo)
{
    REQUIRE_QUEUE(queue);
    TestQueue vanishing;
    vanishing.name = QStringLiteral("vornak-vanishing");
    vanishing.output = QFileInfo(queue.output).path() + QStringLiteral("/vanishing.pdf");
    const auto remove = [&vanishing] { runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), vanishing.name}); };
    runTool(QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), vanishing.name, QStringLiteral("-E"), QStringLiteral("-v"),
             QStringLiteral("file://") + vanishing.output, QStringLiteral("-P"),
             QStringLiteral("/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd")});
    PrintingTab tab(longLogBook(100));
    AtPrintedPage vanish(2, [&remove](TfrxProgress &) { remove(); });
    tab.answerPrint(printOn(tab, vanishing));
    try {
        tab.form.Button5Click();
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), reportText("printNotStarted").arg(vanishing.name));
    }
    EXPECT_FALSE(vanish.poll.isActive()) << "the print never reached page 2";
    remove();
    EXPECT_FALSE(QFile::exists(vanishing.output));
    EXPECT_TRUE(tab.previewShowsPages());
    EXPECT_TRUE(tab.form.isEnabled());
}

// During a print "Сформировать" and "Печать" do nothing (also called from code), "Сохранить
// PDF..." is disabled, the main window is disabled while the progress window stays usable above
// it; afterwards all is as before.
TEST(ReportTabPrinting, NothingChangesThePagesWhileTheyPrint)
{
    REQUIRE_QUEUE(queue);
    PrintingTab tab(longLogBook(100));
    TfrxCustomPreviewPages *pages = tab.form.frxReport1->PreviewPages();
    bool checked = false;
    AtPrintedPage during(2, [&](TfrxProgress &progress) {
        EXPECT_FALSE(tab.form.isEnabled());
        EXPECT_TRUE(progress.isEnabled());
        EXPECT_EQ(progress.windowHandle()->transientParent(), tab.form.windowHandle());
        EXPECT_FALSE(tab.form.Button6->isEnabled());
        tab.form.Button3Click();
        tab.form.Button5Click();
        EXPECT_FALSE(tab.form.frxReport1->Timer()->isActive());
        EXPECT_EQ(pages->Count(), 3);
        EXPECT_NE(pages->PageAt(2), nullptr);
        checked = true;
    });
    QFile::remove(queue.output);
    tab.print(printOn(tab, queue));
    EXPECT_TRUE(checked);
    EXPECT_EQ(waitForPdfPages(queue.output), 3);
    EXPECT_TRUE(tab.form.isEnabled());
    EXPECT_TRUE(tab.form.Button6->isEnabled());
    EXPECT_TRUE(tab.dialogs.messages.isEmpty());
}

// The child of the next test: prints from inside the application's event loop and closes the
// main window at page 2. The loop must end (the process with it) and nothing be printed.
TEST(ReportTabPrinting, ChildClosesTheWindowDuringAPrint)
{
    if (qEnvironmentVariableIsEmpty("VORNAK_CLOSE_DURING_PRINT"))
        GTEST_SKIP() << "runs as the child of ClosingTheWindowDuringAPrintEndsTheProcess";
    REQUIRE_QUEUE(queue);
    PrintingTab tab(longLogBook(100));
    const int queued = jobs(queue, "all");
    tab.answerPrint(printOn(tab, queue));
    AtPrintedPage close(2, [&tab](TfrxProgress &) { tab.form.close(); });
    QTimer::singleShot(0, &tab.form, [&tab] { QTest::mouseClick(tab.form.Button5, Qt::LeftButton); });
    QApplication::exec();
    EXPECT_FALSE(close.poll.isActive());
    EXPECT_EQ(jobs(queue, "all"), queued);
}

TEST(ReportTabPrinting, ClosingTheWindowDuringAPrintEndsTheProcess)
{
    REQUIRE_QUEUE(queue);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORNAK_CLOSE_DURING_PRINT"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ReportTabPrinting.ChildClosesTheWindowDuringAPrint")});
    const bool ended = child.waitForFinished(60000);
    if (!ended)
        child.kill();
    ASSERT_TRUE(ended) << "the process did not end";
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    EXPECT_TRUE(child.readAllStandardOutput().contains("[  PASSED  ] 1 test"));
}

// Нива prepared, Волга chosen, "Печать" twice: every printed page and the preview refreshed after
// each print name Нива and show Нива's figures. "Печать" before any "Сформировать" prepares the
// report of the vehicle and period on screen first.
TEST(ReportTabPrinting, APrintShowsTheVehicleAndPeriodOfOneRun)
{
    REQUIRE_QUEUE(queue);
    const QStringList niva = {QStringLiteral("Карточка автомобиля Нива"), QStringLiteral("850,5")};
    const QStringList volga = {QStringLiteral("Карточка автомобиля Волга"), QStringLiteral("111")};
    const auto expectIn = [](const QString &text, const QStringList &wanted, const QStringList &unwanted) {
        for (const QString &line : wanted)
            EXPECT_TRUE(text.contains(line)) << line.toStdString() << " not in:\n" << text.toStdString();
        EXPECT_FALSE(text.contains(unwanted.first())) << text.toStdString();
    };
    {
        PrintingTab tab;
        QTest::keyClick(tab.form.DBGridEh2, Qt::Key_Down);
        ASSERT_EQ(tab.module->TableSprAutonameauto->AsString(), QStringLiteral("Волга"));
        for (int print = 0; print < 2; ++print) {
            QFile::remove(queue.output);
            tab.print(printOn(tab, queue));
            ASSERT_EQ(waitForPdfPages(queue.output), 1);
            expectIn(runTool(QStringLiteral("pdftotext"), {queue.output, QStringLiteral("-")}), niva, volga);
            expectIn(tab.texts().join(QLatin1Char(' ')), niva, volga);
        }
    }

    PrintingTab fresh(logBook, false);
    QFile::remove(queue.output);
    fresh.print(printOn(fresh, queue));
    ASSERT_EQ(waitForPdfPages(queue.output), 1);
    expectIn(runTool(QStringLiteral("pdftotext"), {queue.output, QStringLiteral("-")}), niva, volga);
}
