// The band engine on the period report's template with in-memory data sets: where the pages
// break, what each page holds, the template restored after a run, and templates the engine
// refuses.

#include "platform/errors.h"
#include "report/draw/draw_text.h"
#include "report/draw/memo_drawing.h"
#include "report/draw/page_drawing.h"
#include "report/engine/engine.h"
#include "report/engine/report_preparation.h"
#include "report/model/band.h"
#include "report/model/custom_draw_text.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview.h"
#include "report/model/data_band.h"
#include "report/model/expression_evaluator.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/user_data_set.h"
#include "report/pages/preview_pages.h"
#include "report/period/period_report_template.h"
#include "tests/fixtures/period_report_data.h"
#include "tests/fixtures/reference_image.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

using namespace vornak;
using vornak::testing::PeriodReportData;
using vornak::testing::ScriptedDialogs;

namespace {

struct PreviewStub : TfrxCustomPreview {
    QString Name() const override { return QStringLiteral("frxPreview1"); }
    void Init(TfrxReport &, TfrxCustomPreviewPages &pages) override { pagesWhenShown = pages.Count(); }
    void RefreshReport() override {}
    int pagesWhenShown = -1;
};

// The period report over in-memory data sets: the vehicle (default "Нива"), mileage 1000, and
// `expenses` rows "Расход <n>" (or all named `expense`) with the sum n in "Source1".
struct PeriodReport {
    PeriodReportData data;
    PreviewStub preview;
    ScriptedDialogs dialogs;
    TfrxReport report;

    explicit PeriodReport(int expenses, const QString &vehicle = QStringLiteral("Нива"),
                          const QString &expense = QString())
        : data(vehicle, 1000, expenses, [expense](const QString &field, int record) {
              if (field == u"s2")
                  return Variant(record + 1);
              return Variant(expense.isNull() ? QStringLiteral("Расход %1").arg(record + 1) : expense);
          })
    {
        data.load(report, &preview);
        InstallReportStages(report);
    }

    TfrxPreviewPages &store() { return frxPreviewPages(report); }

    // The bands of a prepared page by class and top ("TfrxMasterData@0.00").
    QStringList bands(int index)
    {
        QStringList found;
        for (TfrxComponent *child : store().PageAt(index)->Objects())
            found << child->ClassName() + QLatin1Char('@') + QString::number(child->Top(), 'f', 2);
        return found;
    }

    // The printed texts of a prepared page, band by band.
    QStringList texts(int index)
    {
        QStringList found;
        for (TfrxComponent *band : store().PageAt(index)->Objects())
            for (TfrxComponent *child : band->Objects())
                if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(child))
                    found << memo->Memo().join(QLatin1Char('|'));
        return found;
    }
};

TfrxBand *band(TfrxReport &report, const char *name)
{
    return static_cast<TfrxBand *>(report.FindObject(QString::fromLatin1(name)));
}

int countOf(const QStringList &list, const QString &prefix)
{
    return int(std::count_if(list.begin(), list.end(), [&](const QString &s) { return s.startsWith(prefix); }));
}

}  // namespace

// Page breaks: the title and header on page 1 leave room for 37 rows; later pages hold 46 rows
// and start with a row; the totals row moves on when less than a row's height is left.
TEST(Engine, PeriodReportPageBreaks)
{
    struct Case {
        int expenses;
        QList<int> rowsPerPage;
        int totalsPage;
    };
    const Case cases[] = {
        {0, {0}, -1},
        {36, {36}, 0},
        {37, {37, 0}, 1},
        {100, {37, 46, 17}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expenses);
        PeriodReport r(c.expenses);
        ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();
        EXPECT_TRUE(r.dialogs.messages.isEmpty());
        ASSERT_EQ(r.store().Count(), c.rowsPerPage.size());
        for (int page = 0; page < r.store().Count(); ++page) {
            SCOPED_TRACE(page);
            const QStringList bands = r.bands(page);
            EXPECT_EQ(countOf(bands, QStringLiteral("TfrxMasterData")), c.rowsPerPage[page]);
            EXPECT_EQ(countOf(bands, QStringLiteral("TfrxFooter")), page == c.totalsPage ? 1 : 0);
            // The caption (loose objects) and the title are on page 1 only; the header comes with
            // the first row.
            EXPECT_EQ(countOf(bands, QStringLiteral("TfrxNullBand")), page == 0 ? 1 : 0);
            EXPECT_EQ(countOf(bands, QStringLiteral("TfrxReportTitle")), page == 0 ? 1 : 0);
            EXPECT_EQ(countOf(bands, QStringLiteral("TfrxHeader")), page == 0 && c.expenses > 0 ? 1 : 0);
            if (page > 0) {
                EXPECT_TRUE(bands.value(0).startsWith(
                    page == c.totalsPage && c.rowsPerPage[page] == 0 ? u"TfrxFooter@0.00" : u"TfrxMasterData@0.00"))
                    << bands.value(0).toStdString();
            }
        }
    }
}

// Pages drawn as prepared: page 1 (title, caption, header, rows) and the last page (rows and the
// total) of a 50-row report, at zoom 1, against their reference images.
TEST(Engine, PreparedPagesDrawAsTheirReferenceImages)
{
    PeriodReport r(50);
    ASSERT_TRUE(PrepareReport(r.report));
    ASSERT_EQ(r.store().Count(), 2);
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page);
        const QSize size = r.store().PageSizeAt(page);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter canvas(&image);
            DrawPage(r.store(), page, canvas, 1, 1, 0, 0);
        }
        vornak::testing::expectMatchesReference(
            image, QStringLiteral(VORNAK_ENGINE_FIXTURES "/period_report_page%1.png").arg(page + 1));
    }
}

// Page 1 of 37 rows: the title at 0, the header below it, rows one below the other, nothing
// below the 37th row; the texts printed are the data and the total of all rows.
TEST(Engine, PeriodReportPositionsAndTexts)
{
    PeriodReport r(37);
    ASSERT_TRUE(PrepareReport(r.report));
    const QStringList first = r.bands(0);
    ASSERT_EQ(first.size(), 2 + 1 + 37);
    EXPECT_EQ(first[0], u"TfrxReportTitle@0.00");
    EXPECT_EQ(first[1], u"TfrxNullBand@0.00");  // the caption over the top of the title
    EXPECT_EQ(first[2], u"TfrxHeader@143.62");
    EXPECT_EQ(first[3], u"TfrxMasterData@192.76");
    EXPECT_EQ(first[39], u"TfrxMasterData@1009.13");
    EXPECT_EQ(r.bands(1), QStringList{u"TfrxFooter@0.00"_qs});

    const QStringList texts = r.texts(0);
    EXPECT_TRUE(texts.contains(u"Карточка автомобиля Нива|с 01.01.2026 по 31.01.2026"_qs))
        << texts.join(u'/').toStdString();
    EXPECT_TRUE(texts.contains(u"1000"_qs));
    EXPECT_TRUE(texts.contains(u"Расход 37"_qs));
    EXPECT_EQ(r.texts(1), (QStringList{u"Итоги"_qs, u"703"_qs}));  // 1 + 2 + ... + 37
}

// Names from a hostile log book print as they are, both when the report is prepared and when
// its pages are drawn: nothing of them is evaluated or filled in. The placeholders the template
// itself writes next to such a name are still filled in (a stored page reaches no report, so its
// copy name is empty).
TEST(Engine, NamesFromTheDataPrintAsTheyAre)
{
    const QString names[] = {
        QStringLiteral("[TotalPages#]"),
        QStringLiteral("[COPYNAME#] и [copyname#]"),
        QStringLiteral("[str] [Page#] [Line] [Date]"),
        QStringLiteral("[Auto.\"nameauto\"] <Begin.\"km1\">"),
        QStringLiteral("[SUM(<Source1.\"s2\">,MasterData1)] [1 / 0]"),
        QStringLiteral("[ ]] [[x]] '[x]' \"[x]"),
        QStringLiteral("[TotalPages#\r\n] [TotalPages#][CopyName#]"),
    };
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        PeriodReport r(1, name, name);
        auto *heading = static_cast<TfrxCustomMemoView *>(r.report.FindObject(QStringLiteral("Memo9")));
        heading->SetText(QStringLiteral("[Auto.\"nameauto\"]: [TotalPages#] / [CopyName#]"));
        ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();
        EXPECT_TRUE(r.report.Errors().isEmpty()) << r.report.Errors().join(u'\n').toStdString();

        QStringList drawn;
        for (TfrxComponent *band : r.store().PageAt(0)->Objects())
            for (TfrxComponent *child : band->Objects())
                if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(child))
                    drawn << frxMemoDrawLines(*memo, {3, 1, 1}).join(u'|');
        const QString asStored = QString(name).replace(QStringLiteral("\r\n"), QStringLiteral("|"));
        EXPECT_TRUE(drawn.contains(QStringLiteral("Карточка автомобиля ") + asStored +
                                   QStringLiteral("|с 01.01.2026 по 31.01.2026")))
            << drawn.join(u'/').toStdString();
        EXPECT_TRUE(drawn.contains(asStored + QStringLiteral(": 3 / "))) << drawn.join(u'/').toStdString();
        EXPECT_TRUE(drawn.contains(asStored)) << drawn.join(u'/').toStdString();  // the expense type
    }
}

// A vehicle name too long for the caption's two lines: the caption grows to hold the name and
// the period, and the title, with everything printed after it, moves down by as much.
TEST(Engine, ALongVehicleNameMovesTheTitleDown)
{
    const QString name = QStringLiteral("Очень длинное название автомобиля с прицепом ").repeated(3).trimmed();
    PeriodReport r(37, name);
    ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();
    const QStringList first = r.bands(0);
    TfrxCustomMemoView *caption = nullptr, *heading = nullptr;
    for (TfrxComponent *band : r.store().PageAt(0)->Objects())
        for (TfrxComponent *child : band->Objects())
            if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(child)) {
                if (memo->Text().startsWith(u"Карточка"))
                    caption = memo;
                if (memo->Text() == u"Пробег (км)")
                    heading = memo;
            }
    ASSERT_TRUE(caption && heading);
    const double growth = caption->Height() - 56.69295;
    EXPECT_GT(growth, 15);
    EXPECT_DOUBLE_EQ(caption->Height(), frxMemoCalcHeight(*caption));
    EXPECT_NEAR(heading->Top(), 62.35436 + growth, 1e-6);
    EXPECT_EQ(first[2], QStringLiteral("TfrxHeader@") + QString::number(143.62214 + growth, 'f', 2));
    frxUseMemoLayout(*caption, frxMemoOriginalRect(*caption), [](TfrxDrawText &engine) {
        EXPECT_EQ(engine.WrappedLines().last().Text, u"с 01.01.2026 по 31.01.2026");
        EXPECT_LE(engine.CalcHeight(), engine.OriginalRect().height() + 0.5);  // the memo's height is rounded
    });
    EXPECT_LT(countOf(first, QStringLiteral("TfrxMasterData")), 37);  // the rows moved down too
}

// After a run the template has its design texts and positions again.
TEST(Engine, TemplateRestoredAfterRun)
{
    PeriodReport r(100);
    const QString before = r.report.SaveToText();
    ASSERT_TRUE(PrepareReport(r.report));
    EXPECT_EQ(r.report.SaveToText(), before);
    auto *memo = dynamic_cast<TfrxCustomMemoView *>(r.report.FindObject(u"Memo14"_qs));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->Memo().join(QString()), u"[SUM(<Source1.\"s2\">,MasterData1)]");
    EXPECT_EQ(r.report.Preview(), static_cast<TfrxCustomPreview *>(&r.preview));
    // A second preparation gives the same pages.
    ASSERT_TRUE(PrepareReport(r.report));
    EXPECT_EQ(r.store().Count(), 3);
}

// Bad templates: the error summary once, after the restore; the template as it was.
TEST(Engine, BadTemplatesAreRefusedWithTheirTexts)
{
    struct Case {
        const char *name;
        std::function<void(TfrxReport &)> spoil;
        QString error;
    };
    const Case cases[] = {
        {"header without data band after it", [](TfrxReport &report) { report.FindObject(u"Header1"_qs)->SetTop(400); },
         u"Не подключенный header/footer Header1"_qs},
        {"data band without data set",
         [](TfrxReport &report) {
             static_cast<TfrxDataBand *>(report.FindObject(u"MasterData1"_qs))->SetDataSet(nullptr);
         },
         u"Неправильно расположен бэнд: MasterData1"_qs},
        {"failing expression",
         [](TfrxReport &report) {
             static_cast<TfrxCustomMemoView *>(report.FindObject(u"Memo3"_qs))->SetMemo({u"[1 +]"_qs});
         },
         QString()},
        {"band higher than the page", [](TfrxReport &report) { report.FindObject(u"MasterData1"_qs)->SetHeight(1100); },
         u"Бэнд MasterData1 выше страницы и не может быть размещен"_qs},
        {"kept together",
         [](TfrxReport &report) {
             static_cast<TfrxDataBand *>(report.FindObject(u"MasterData1"_qs))->SetKeepTogether(true);
         },
         u"Удержание бэндов вместе не поддерживается (бэнд MasterData1)"_qs},
        {"split across pages", [](TfrxReport &report) { band(report, "Footer1")->SetAllowSplit(true); },
         u"Разбивка бэнда по страницам не поддерживается (бэнд Footer1)"_qs},
        {"vertical band", [](TfrxReport &report) { band(report, "Header1")->SetVertical(true); },
         u"Вертикальные бэнды не поддерживаются (бэнд Header1)"_qs},
        {"group",
         [](TfrxReport &report) {
             (new TfrxGroupHeader(band(report, "Header1")->Parent()))->SetName(u"GroupHeader1"_qs);
         },
         u"Группы не поддерживаются (бэнд GroupHeader1)"_qs},
        {"page columns",
         [](TfrxReport &report) { static_cast<TfrxReportPage *>(band(report, "Header1")->Parent())->SetColumns(2); },
         u"Колонки не поддерживаются (Page1)"_qs},
        {"two passes", [](TfrxReport &report) { report.EngineOptions.DoublePass = true; },
         u"Двойной проход не поддерживается"_qs},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PeriodReport r(10);
        const QString design = r.report.SaveToText();
        c.spoil(r.report);
        const QString spoiled = r.report.SaveToText();
        EXPECT_FALSE(PrepareReport(r.report));
        ASSERT_EQ(r.dialogs.messages.size(), 1);
        EXPECT_EQ(r.dialogs.messages[0].caption, u"Ошибка");
        EXPECT_TRUE(r.dialogs.messages[0].text.startsWith(u"Были обнаружены следующие ошибки:\n"));
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(r.report.Errors().contains(c.error)) << r.report.Errors().join(u'\n').toStdString();
        }
        EXPECT_EQ(r.report.SaveToText(), spoiled);
        EXPECT_NE(spoiled, design);
    }
}

// With OldStyleProgress False the preview is shown at once with no pages and the report's
// 50-millisecond timer prepares them when it fires (fired here by hand: no waiting).
TEST(Engine, ShowReportPreparesOnTheTimer)
{
    PeriodReport r(5);
    ShowReport(r.report);
    EXPECT_EQ(r.preview.pagesWhenShown, 0);
    EXPECT_EQ(r.store().Count(), 0);
    ASSERT_TRUE(r.report.Timer()->isActive());
    EXPECT_EQ(r.report.Timer()->interval(), 50);
    QMetaObject::invokeMethod(r.report.Timer(), "timeout");
    EXPECT_FALSE(r.report.Timer()->isActive());
    EXPECT_EQ(r.store().Count(), 1);

    // With OldStyleProgress the pages are prepared first, then shown.
    PeriodReport oldStyle(5);
    oldStyle.report.SetOldStyleProgress(true);
    ShowReport(oldStyle.report);
    EXPECT_FALSE(oldStyle.report.Timer()->isActive());
    EXPECT_EQ(oldStyle.preview.pagesWhenShown, 1);
}

// Under the silent setting the errors are not shown; under the re-raise setting the summary is
// raised instead of shown.
TEST(Engine, ErrorSummarySilentOrRaised)
{
    PeriodReport silent(1);
    silent.report.EngineOptions.NewSilentMode = simSilent;
    band(silent.report, "Header1")->SetTop(400);
    EXPECT_FALSE(PrepareReport(silent.report));
    EXPECT_TRUE(silent.dialogs.messages.isEmpty());
    EXPECT_FALSE(silent.report.Errors().isEmpty());

    PeriodReport raised(1);
    raised.report.EngineOptions.NewSilentMode = simReThrow;
    band(raised.report, "Header1")->SetTop(400);
    try {
        PrepareReport(raised.report);
        ADD_FAILURE() << "no error raised";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), u"Были обнаружены следующие ошибки:\nНе подключенный header/footer Header1");
    }
    EXPECT_TRUE(raised.dialogs.messages.isEmpty());
}

// A report without one of the stages a preparation needs is refused with a message naming it,
// and nothing runs.
TEST(Engine, APreparationWithoutAStageIsRefusedByName)
{
    const struct {
        const char *stage;
        std::function<void(TfrxReport &)> remove;
    } cases[] = {
        {"вычислителя выражений", [](TfrxReport &report) { report.SetExpressionCache(nullptr); }},
        {"хранилища страниц", [](TfrxReport &report) { report.SetPreviewPages(nullptr); }},
        {"разметки текста", [](TfrxReport &report) { report.SetDrawText(nullptr); }},
        {"движка отчета", [](TfrxReport &report) { report.SetEngine(nullptr); }},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.stage);
        PeriodReport period(1);
        period.report.EngineOptions.NewSilentMode = simReThrow;
        row.remove(period.report);
        try {
            PrepareReport(period.report);
            ADD_FAILURE() << "not refused";
        } catch (const EngineError &error) {
            EXPECT_EQ(error.message(),
                      QStringLiteral("Были обнаружены следующие ошибки:\nОтчет не может быть построен: нет ") +
                          QString::fromUtf8(row.stage));
        }
    }
}
