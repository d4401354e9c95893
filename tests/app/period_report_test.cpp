// The report tab of the main window on a log book of known readings and expenses: the report's
// figures in the prepared pages, the queries' month-first dates, no vehicle, a dialog's statement
// never run again by a later preparation, and a query the engine rejects.

#include "grid/db_grid_eh.h"
#include "platform/errors.h"
#include "platform/recording_printer.h"
#include "platform/regional_settings.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/preview/preview.h"
#include "report/print/print_dialog.h"
#include "report/print/printer.h"
#include "report/script/report_text.h"
#include "tests/app/report_tab_session.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>

using namespace vornak;
using namespace vornak::testing;

namespace {

// The expense type catalogue's answer: a double click on its first row (Бензин).
ModalResult pickFirstType(QDialog &dialog)
{
    dialog.show();
    TDBGridEh *grid = static_cast<TTYPE_EXPENSEForm &>(dialog).DBGridEh3;
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(grid->columnLeft(0) + 20, grid->dataTop() + 5));
    dialog.hide();
    return ModalResult(dialog.result());
}

// The report's texts for a vehicle: title, the mileage table, the per-type rows and the total.
QStringList report(const QString &vehicle, const QString &period, const QStringList &mileage,
                   const QStringList &typeRows, const QString &total)
{
    QStringList texts = {QStringLiteral("Пробег (км)"),
                         QStringLiteral("Начальный пробег"),
                         mileage[0],
                         QStringLiteral("Изменения за период"),
                         mileage[1],
                         QStringLiteral("Конечный пробег"),
                         mileage[2],
                         QStringLiteral("Карточка автомобиля ") + vehicle + QLatin1Char('|') + period,
                         QStringLiteral("Денежные затраты (руб.)"),
                         QStringLiteral("Название затрат"),
                         QStringLiteral("Сумма")};
    return texts + typeRows + QStringList{QStringLiteral("Итоги"), total};
}

}  // namespace

TEST(PeriodReport, ShowsTheMileageAndTheExpenseTypesOfTheCurrentVehicle)
{
    ReportTab tab;
    tab.press(tab.form.Button3);
    ASSERT_TRUE(tab.dialogs.messages.isEmpty()) << tab.dialogs.messages.value(0).text.toStdString();
    const QString november = QStringLiteral("период с 01.11.2011 по 30.11.2011");
    EXPECT_EQ(tab.texts(), report(QStringLiteral("Нива"), november, {"100", "90", "190"},
                                  {"Аренда", "100", "Бензин", "750,5"}, QStringLiteral("850,5")));
    EXPECT_EQ(tab.preview.shown, tab.form.frxReport1);

    // Волга has no readings before the period: its empty km1 prints 0.
    tab.module->TableSprAuto->Last();
    tab.press(tab.form.Button3);
    EXPECT_EQ(tab.texts(),
              report(QStringLiteral("Волга"), november, {"0", "7", "7"}, {"Бензин", "111"}, QStringLiteral("111")));

    // A period of one day: the reading of that day counts within it and up to its end.
    tab.module->TableSprAuto->First();
    tab.form.DateTimePicker1->setDate(QDate(2011, 11, 30));
    tab.press(tab.form.Button3);
    EXPECT_EQ(tab.texts().mid(2, 5), QStringList({"150", "Изменения за период", "40", "Конечный пробег", "190"}));
}

// The report tab's own preview control shows the prepared pages, the first one current.
TEST(PeriodReport, TheTabsPreviewShowsThePreparedPages)
{
    ReportTab tab;
    tab.form.frxReport1->SetPreview(tab.form.frxPreview1);
    tab.press(tab.form.Button3);
    ASSERT_TRUE(tab.dialogs.messages.isEmpty()) << tab.dialogs.messages.value(0).text.toStdString();
    EXPECT_EQ(tab.form.frxPreview1->Report(), tab.form.frxReport1);
    EXPECT_EQ(tab.form.frxPreview1->PageCount(), 1);
    EXPECT_EQ(tab.form.frxPreview1->PageNo(), 1);
    if (const QString shot = qEnvironmentVariable("VORNAK_REPORT_TAB_SHOT"); !shot.isEmpty())
        tab.form.grab().save(shot);
}

TEST(PeriodReport, QueriesWriteDatesMonthFirstAndTheCaptionInTheUserFormat)
{
    ReportTab tab;
    RegionalSettings dayFirst = RegionalSettings::russian();
    dayFirst.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    dayFirst.dateSeparator = QLatin1Char('/');
    ScopedRegionalSettings pinned(dayFirst);
    tab.form.DateTimePicker1->setDate(QDate(2011, 11, 5));
    tab.press(tab.form.Button3);

    EXPECT_EQ(tab.module->QueryBegin->SQL.Lines(),
              QStringList({"select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE doc_mileage.datedoc "
                           "<#11/05/2011# and doc_mileage.idauto = 1"}));
    EXPECT_EQ(
        tab.module->QueryOborot->SQL.Lines(),
        QStringList({"SELECT Sum(doc_mileage.raznica) as sm", "FROM doc_mileage",
                     "WHERE doc_mileage.datedoc between #11/05/2011# and #11/30/2011#", "and doc_mileage.idauto = 1"}));
    EXPECT_EQ(tab.module->QueryEnde->SQL.Lines(),
              QStringList({"SELECT Sum(doc_mileage.raznica) as sm", "FROM doc_mileage",
                           "WHERE doc_mileage.datedoc <=#11/30/2011#", "and doc_mileage.idauto = 1"}));
    const QString inPeriod = "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC Between "
                             "#11/05/2011# And #11/30/2011# AND DOC_EXPENSE.IDAUTO=1 )";
    EXPECT_EQ(tab.module->ADOQuery1->SQL.Lines(),
              QStringList({"select sys_type_expense.opisanie ,", "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE",
                           inPeriod + " AS s2,", "(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE",
                           "WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC >#11/30/2011# "
                           "AND DOC_EXPENSE.IDAUTO=1 ) AS s3",
                           "FROM sys_type_expense", "where (SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE",
                           inPeriod + " >0", "ORDER BY sys_type_expense.opisanie;"}));
    EXPECT_EQ(tab.form.frxReport1->ScriptText(),
              QStringList({"var", "str: string;", "begin", "str := 'период с 05/11/2011 по 30/11/2011';", "end."}));
    EXPECT_EQ(tab.texts().value(2), QStringLiteral("120"));
    EXPECT_EQ(tab.texts().value(7), QStringLiteral("Карточка автомобиля Нива|период с 05/11/2011 по 30/11/2011"));
}

// Without a vehicle, and while a preparation runs (it lets the clicks through), the buttons do
// nothing; "Предпросмотр" never does anything.
TEST(PeriodReport, ButtonsDoNothingWithoutAVehicleOrWhileTheReportIsPrepared)
{
    for (const bool running : {false, true}) {
        SCOPED_TRACE(running);
        ReportTab tab(running ? logBook : QStringList{});
        tab.form.frxReport1->Engine()->Running = running;
        const QStringList designBegin = tab.module->QueryBegin->SQL.Lines();
        const QStringList designScript = tab.form.frxReport1->ScriptText();
        tab.press(tab.form.Button3);
        tab.press(tab.form.Button5);
        tab.press(tab.form.Button4);
        tab.form.frxReport1->Engine()->Running = false;
        EXPECT_EQ(tab.module->QueryBegin->SQL.Lines(), designBegin);
        EXPECT_FALSE(tab.module->QueryBegin->Active());
        EXPECT_EQ(tab.form.frxReport1->ScriptText(), designScript);
        EXPECT_EQ(tab.form.frxReport1->PreviewPages()->Count(), 0);
        EXPECT_EQ(tab.preview.shown, nullptr);
        EXPECT_EQ(tab.prints + tab.preview.refreshes, 0);
        EXPECT_TRUE(tab.dialogs.messages.isEmpty());
    }
}

// A dialog's INSERT left in ADOQuery1 is not run again by printing and the refresh after it: the
// refreshed report reads the sums as they are now.
TEST(PeriodReport, PrintingAfterADialogNeverRunsTheDialogsStatementAgain)
{
    ReportTab tab;
    tab.press(tab.form.Button3);
    ASSERT_EQ(tab.expenseRows(), 8);

    tab.dialogs.modalAnswers.push_back(answer([&tab](QDialog &dialog) {
        auto &form = static_cast<TFuelEditForm &>(dialog);
        tab.dialogs.modalAnswers.push_back(pickFirstType);
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
        form.DateTimePicker1->setDate(QDate(2011, 11, 20));
        retype(form.EditSumma, QStringLiteral("60"));
        return click(form, form.Button1);
    }));
    tab.form.ActFuelNew->trigger();
    ASSERT_TRUE(tab.module->ADOQuery1->SQL.Text().startsWith(QStringLiteral("INSERT INTO DOC_EXPENSE")));
    ASSERT_EQ(tab.expenseRows(), 9);

    tab.press(tab.form.Button5);
    EXPECT_EQ(tab.prints, 1);
    EXPECT_EQ(tab.preview.refreshes, 1);
    EXPECT_EQ(tab.expenseRows(), 9);
    EXPECT_EQ(tab.texts().last(), QStringLiteral("910,5"));

    // A preparation of its own, without the buttons, neither.
    ASSERT_TRUE(tab.form.ActFuelNew->isEnabled());
    tab.dialogs.modalAnswers.push_back(answer([](QDialog &dialog) {
        auto &form = static_cast<TFuelEditForm &>(dialog);
        retype(form.EditSumma, QStringLiteral("1"));
        return click(form, form.Button1);
    }));
    tab.form.ActFuelNew->trigger();
    EXPECT_TRUE(PrepareReport(*tab.form.frxReport1));
    EXPECT_EQ(tab.expenseRows(), 10);
    EXPECT_TRUE(tab.dialogs.messages.isEmpty());
}

// A query the engine rejects ends the run with the engine's error: the queries before it stay
// open, the script and the prepared pages stay as they were.
TEST(PeriodReport, ARejectedQueryLeavesTheReportAsItWas)
{
    ReportTab tab;
    tab.press(tab.form.Button3);
    const QStringList shown = tab.texts();
    const QStringList script = tab.form.frxReport1->ScriptText();
    const QStringList sums = tab.module->ADOQuery1->SQL.Lines();
    tab.file.open()->execute(QStringLiteral("DROP TABLE SYS_TYPE_EXPENSE"));

    tab.form.DateTimePicker1->setDate(QDate(2011, 10, 1));
    try {
        tab.form.Button3Click();
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("sys_type_expense"))) << error.message().toStdString();
    }
    EXPECT_TRUE(tab.module->QueryEnde->Active());
    EXPECT_TRUE(tab.module->QueryBegin->SQL.Text().contains(QStringLiteral("#10/01/2011#")));
    EXPECT_EQ(tab.form.frxReport1->ScriptText(), script);
    EXPECT_FALSE(tab.form.frxReport1->Timer()->isActive());
    EXPECT_EQ(tab.texts(), shown);
    EXPECT_NE(tab.module->ADOQuery1->SQL.Lines(), sums);
}

// `vornak-db report` prints the report tab's pages: as many, each with the same words.
TEST(PeriodReport, TheCommandLinePdfHoldsTheTabsPages)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    // Sixty more expense types in the period make Нива's report two pages long.
    QStringList longBook = logBook;
    for (int type = 6; type < 66; ++type) {
        longBook << QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Запчасть №%1')").arg(type);
        longBook << expense("10.11.2011", 1, type, "12.25");
    }
    ReportTab tab(longBook);
    tab.press(tab.form.Button3);
    ASSERT_TRUE(tab.dialogs.messages.isEmpty()) << tab.dialogs.messages.value(0).text.toStdString();
    const int pages = tab.form.frxReport1->PreviewPages()->Count();
    ASSERT_EQ(pages, 2);

    const QString pdf = tab.file.folder() + QStringLiteral("/card.pdf");
    QProcess tool;
    tool.start(QStringLiteral(VORNAK_DB_PATH),
               {QStringLiteral("report"), tab.file.path(), QStringLiteral("--vehicle"), QStringLiteral("Нива"),
                QStringLiteral("--from"), QStringLiteral("2011-11-01"), QStringLiteral("--to"),
                QStringLiteral("30.11.2011"), QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    QStringList printed = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_EQ(printed.takeLast().trimmed(), QString()) << "every page ends with a form feed";
    ASSERT_EQ(printed.size(), pages);
    for (int index = 0; index < pages; ++index)
        EXPECT_EQ(sortedWords(printed[index]), sortedWords(tab.pageTexts(index).join(QLatin1Char(' ')))) << index;
    EXPECT_TRUE(printed[0].contains(QStringLiteral("Карточка автомобиля Нива")));
    EXPECT_TRUE(printed[1].contains(QStringLiteral("Итоги")));
}

namespace {

const QStringList reportLines = {QStringLiteral("Карточка автомобиля Нива"), QStringLiteral("Начальный пробег"),
                                 QStringLiteral("Бензин"), QStringLiteral("750,5"), QStringLiteral("850,5")};

void expectReportIn(const QString &pdf)
{
    EXPECT_EQ(waitForPdfPages(pdf), 1);
    const QString text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const QString &line : reportLines)
        EXPECT_TRUE(text.contains(line)) << line.toStdString() << " not in:\n" << text.toStdString();
}

}  // namespace

// "Сформировать", then "Печать" through the print dialog to a real print queue: the PDF the
// queue writes holds the report's page and lines, and the preview shows the report again.
TEST(PeriodReport, PrintsThroughTheDialogToARealQueue)
{
    const TestQueue queue;
    if (queue.name.isEmpty())
        GTEST_SKIP() << "no private print queue (scripts/test starts one)";
    QFile::remove(queue.output);
    PrintingTab tab;
    ASSERT_EQ(tab.form.frxPreview1->PageCount(), 1);
    tab.print([&queue](TfrxPrintDialog &dialog) {
        choosePrinter(dialog, queue.name);
        return click(dialog, dialog.OkB);
    });
    ASSERT_TRUE(tab.dialogs.messages.isEmpty()) << tab.dialogs.messages.value(0).text.toStdString();
    expectReportIn(queue.output);
    EXPECT_TRUE(tab.previewShowsPages());
}

// "Печать в файл" writes a PDF of the pages into the chosen file (".prn"); a file that cannot be
// written gives a clear message and the preview is prepared again.
TEST(PeriodReport, PrintsIntoAFile)
{
    const TestQueue queue;
    if (queue.name.isEmpty())
        GTEST_SKIP() << "no private print queue (scripts/test starts one)";
    PrintingTab tab;
    // Answers the dialog with the test queue and "Печать в файл", the save dialog with `path`.
    const auto answerToFile = [&tab, &queue](const QString &path) {
        tab.answerPrint([&tab, &queue, path](TfrxPrintDialog &dialog) {
            tab.dialogs.modalAnswers.push_back([path](QDialog &save) {
                dynamic_cast<QFileDialog &>(save).selectFile(path);
                return ModalResult::Ok;
            });
            choosePrinter(dialog, queue.name);
            QTest::mouseClick(dialog.FileCB, Qt::LeftButton, {}, QPoint(6, dialog.FileCB->height() / 2));
            return click(dialog, dialog.OkB);
        });
    };
    const QString file = tab.file.folder() + QStringLiteral("/period.prn");
    answerToFile(tab.file.folder() + QStringLiteral("/period"));
    tab.press(tab.form.Button5);
    ASSERT_TRUE(tab.dialogs.messages.isEmpty()) << tab.dialogs.messages.value(0).text.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
    expectReportIn(file);

    // The error ends the print command (the application shows it in its error box). The log book
    // is a file: no folder can be made under it, not even by root.
    answerToFile(tab.file.path() + QStringLiteral("/period"));
    try {
        tab.form.Button5Click();
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Не удалось записать файл печати \"%1/period.prn\"").arg(tab.file.path()));
    }
    EXPECT_TRUE(tab.previewShowsPages());
}

// A queue removed after the program listed its printers: choosing it and printing on it say
// "Printer selected is not valid", nothing is printed, and the preview shows the report again.
TEST(PeriodReport, AQueueThatDisappearedPrintsNothing)
{
    const TestQueue queue;
    if (queue.name.isEmpty())
        GTEST_SKIP() << "no private print queue (scripts/test starts one)";
    const QString gone = QStringLiteral("vornak-gone");
    ASSERT_EQ(QProcess::execute(QStringLiteral("lpadmin"), {QStringLiteral("-p"), gone, QStringLiteral("-E"),
                                                            QStringLiteral("-v"), QStringLiteral("file:///dev/null")}),
              0);
    PrintingTab tab;
    ASSERT_GE(frxPrinters().IndexOf(gone), 0);
    ASSERT_EQ(QProcess::execute(QStringLiteral("lpadmin"), {QStringLiteral("-x"), gone}), 0);
    tab.print([&gone](TfrxPrintDialog &dialog) {
        choosePrinter(dialog, gone);
        return click(dialog, dialog.OkB);
    });
    ASSERT_FALSE(tab.dialogs.messages.isEmpty());
    for (const auto &message : tab.dialogs.messages) {
        EXPECT_EQ(message.text, QStringLiteral("Printer selected is not valid"));
        EXPECT_EQ(message.caption, QStringLiteral("Ошибка"));
    }
    EXPECT_TRUE(tab.previewShowsPages());
}

// "Сохранить PDF..." on a machine without printers: a real click, the file dialog ("Сохранить
// отчет", PDF, a name from the vehicle and period) answered with a name without extension; the
// file gets ".pdf" and has the command line's pages. The button is disabled while the report is
// prepared, for the preview and for the PDF. A path that cannot be written: a Russian message
// and no file; the log book itself is refused and left as it was.
TEST(PeriodReport, SavesThePdfTheCommandLineWrites)
{
    RecordingPrinterSystem noPrinters(QStringList{});
    frxResetPrinters();
    ReportTab tab(longLogBook(60));
    QTest::mouseClick(tab.form.Button3, Qt::LeftButton);
    EXPECT_FALSE(tab.form.Button6->isEnabled());
    tab.press(tab.form.Button3);
    EXPECT_TRUE(tab.form.Button6->isEnabled());

    QString offered;
    QString offeredFolder;
    const auto answerSave = [&tab, &offered, &offeredFolder](const QString &path) {
        tab.dialogs.modalAnswers.push_back([&offered, &offeredFolder, path](QDialog &dialog) {
            auto &save = dynamic_cast<QFileDialog &>(dialog);
            EXPECT_EQ(save.windowTitle(), QStringLiteral("Сохранить отчет"));
            EXPECT_EQ(save.nameFilters(), QStringList{QStringLiteral("PDF (*.pdf)")});
            offered = QFileInfo(save.selectedFiles().value(0)).fileName();
            offeredFolder = save.directory().absolutePath();
            save.selectFile(path);
            return ModalResult::Ok;
        });
    };
    answerSave(tab.file.folder() + QStringLiteral("/card"));
    // Looks at the button whenever the preparation lets events through.
    QList<bool> enabledWhilePrepared;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&tab, &enabledWhilePrepared] {
        if (tab.form.frxReport1->Engine()->Running)
            enabledWhilePrepared.append(tab.form.Button6->isEnabled());
    });
    watch.start(0);
    QTest::mouseClick(tab.form.Button6, Qt::LeftButton);
    watch.stop();
    EXPECT_FALSE(enabledWhilePrepared.isEmpty());
    EXPECT_FALSE(enabledWhilePrepared.contains(true));
    EXPECT_TRUE(tab.form.Button6->isEnabled());
    EXPECT_EQ(offered, QStringLiteral("Нива 2011-11-01 - 2011-11-30.pdf"));
    const QString saved = tab.file.folder() + QStringLiteral("/card.pdf");
    ASSERT_TRUE(QFile::exists(saved));
    const QString reference = tab.file.folder() + QStringLiteral("/command-line.pdf");
    runTool(QStringLiteral(VORNAK_DB_PATH),
            {QStringLiteral("report"), tab.file.path(), QStringLiteral("--vehicle"), QStringLiteral("Нива"),
             QStringLiteral("--from"), QStringLiteral("2011-11-01"), QStringLiteral("--to"),
             QStringLiteral("2011-11-30"), QStringLiteral("--pdf"), reference});
    const QString pages = runTool(QStringLiteral("pdftotext"), {saved, QStringLiteral("-")});
    EXPECT_EQ(pages.count(QLatin1Char('\f')), 2);
    EXPECT_EQ(pages, runTool(QStringLiteral("pdftotext"), {reference, QStringLiteral("-")}));
    EXPECT_TRUE(noPrinters.jobs.isEmpty());
    EXPECT_TRUE(tab.dialogs.messages.isEmpty());

    // A folder that is a file (the log book) cannot be written, not even by root.
    const QString unwritable = tab.file.path() + QStringLiteral("/card.pdf");
    const QStringList before = QDir(tab.file.folder()).entryList(QDir::Files);
    answerSave(unwritable);
    try {
        tab.form.Button6Click();
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Не удалось сохранить отчет в файл \"%1\".").arg(unwritable));
    }
    // The log book itself is refused with the print dialog's words, and stays as it was.
    QFile book(tab.file.path());
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    const QByteArray bookBefore = book.readAll();
    book.close();
    answerSave(tab.file.path());
    try {
        tab.form.Button6Click();
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), reportText("fileIsDatabase").arg(tab.file.path()));
    }
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_EQ(book.readAll(), bookBefore);
    EXPECT_EQ(QDir(tab.file.folder()).entryList(QDir::Files), before);
    // The next PDF is offered in the folder of the last one.
    EXPECT_EQ(offeredFolder, QFileInfo(saved).absolutePath());
    EXPECT_EQ(QDir(tab.file.folder()).entryList(QDir::Files), before);
    EXPECT_TRUE(tab.form.Button6->isEnabled());
    frxResetPrinters();
}
