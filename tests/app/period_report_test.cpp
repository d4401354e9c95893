// The report tab of the main window on a log book of known readings and expenses: the report's
// figures in the prepared pages, the queries' month-first dates, no vehicle, a dialog's statement
// never run again by a later preparation, and a query the engine rejects.

#include "grid/db_grid_eh.h"
#include "platform/errors.h"
#include "platform/regional_settings.h"
#include "report/engine/report_preparation.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/preview/preview.h"
#include "tests/app/main_window_session.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

using namespace vornak;
using namespace vornak::testing;

namespace {

QString reading(const char *date, int vehicle, int distance)
{
    return QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('%1', %2, 0, %3)")
        .arg(QLatin1String(date))
        .arg(vehicle)
        .arg(distance);
}

QString expense(const char *date, int vehicle, int type, const char *sum)
{
    return QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                          "VALUES (%1, %2, '%3', 1, %4, '')")
        .arg(type)
        .arg(vehicle)
        .arg(QLatin1String(date))
        .arg(QLatin1String(sum));
}

QString expenseType(const char *name)
{
    return QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('%1')").arg(QString::fromUtf8(name));
}

// Нива (1) and Волга (2); the report period is November 2011. Нива: 100 km before it, 20 on its
// first day, 30 inside, 40 on its last day, 1000 after. Волга: 7 km inside only. Types:
// Бензин 500 + 250.5 in the period; Аренда 100; Мойка +300 −300 (sums to 0); Штраф before the
// period only; Ремонт after it only; Волга's petrol belongs to Волга.
const QStringList logBook = {
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 0, '01.01.2011')"),
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Волга', 0, '01.01.2011')"),
    reading("31.10.2011", 1, 100),
    reading("01.11.2011", 1, 20),
    reading("15.11.2011", 1, 30),
    reading("30.11.2011", 1, 40),
    reading("01.12.2011", 1, 1000),
    reading("10.11.2011", 2, 7),
    expenseType("Бензин"),
    expenseType("Мойка"),
    expenseType("Штраф"),
    expenseType("Ремонт"),
    expenseType("Аренда"),
    expense("01.11.2011", 1, 1, "500"),
    expense("30.11.2011", 1, 1, "250.5"),
    expense("15.11.2011", 1, 2, "300"),
    expense("16.11.2011", 1, 2, "-300"),
    expense("31.10.2011", 1, 3, "77"),
    expense("01.12.2011", 1, 4, "9999"),
    expense("20.11.2011", 1, 5, "100"),
    expense("15.11.2011", 2, 1, "111"),
};

// A preview control as the report sees one: Init takes the report, RefreshReport prepares it again.
struct RefreshingPreview : TfrxCustomPreview {
    TfrxReport *shown = nullptr;
    int refreshes = 0;
    QString Name() const override { return QStringLiteral("frxPreview1"); }
    void Init(TfrxReport &report, TfrxCustomPreviewPages &) override { shown = &report; }
    void RefreshReport() override
    {
        ++refreshes;
        if (shown)
            PrepareReport(*shown, true);
    }
};

struct ReportTab : MainWindowSession {
    TMainForm &form = *MainForm;
    RefreshingPreview preview;
    TfrxCustomPreview *const formPreview = form.frxReport1->Preview();
    int prints = 0;

    explicit ReportTab(const QStringList &setup = logBook)
        : MainWindowSession(setup)
    {
        form.frxReport1->SetPreview(&preview);
        form.frxReport1->PrintPages = [this](TfrxReport &) { return ++prints, true; };
        form.PageControl1->setCurrentWidget(form.TabSheet5);
        form.DateTimePicker1->setDate(QDate(2011, 11, 1));
        form.DateTimePicker2->setDate(QDate(2011, 11, 30));
    }
    // The stand-in preview is gone before the window (members go before the base) and the report
    // calls on its preview when it goes: the report gets the form's own preview back.
    ~ReportTab() { form.frxReport1->SetPreview(formPreview); }

    // Clicks a report button and lets the report's 50-millisecond timer prepare the report.
    void press(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        for (int i = 0; i < 200 && form.frxReport1->Timer()->isActive(); ++i)
            QTest::qWait(5);
    }

    // The texts of the prepared pages, loose objects and band by band, multi-line texts joined by "|".
    QStringList texts() const
    {
        QStringList found;
        TfrxCustomPreviewPages *pages = form.frxReport1->PreviewPages();
        for (int index = 0; index < pages->Count(); ++index)
            for (TfrxComponent *object : pages->PageAt(index)->Objects()) {
                QList<TfrxComponent *> views = object->Objects();
                views.prepend(object);
                for (TfrxComponent *view : views)
                    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(view))
                        found << memo->Memo().join(QLatin1Char('|'));
            }
        return found;
    }

    int expenseRows() const { return rows(QStringLiteral("select id from DOC_EXPENSE")).size(); }
};

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
    EXPECT_EQ(tab.preview.shown, tab.form.frxReport1.get());

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
    EXPECT_EQ(tab.form.frxPreview1->Report(), tab.form.frxReport1.get());
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
