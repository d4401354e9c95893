// The band engine's features beyond the period report, on a small page built in code: page
// header and footer, a repeated data header, child bands, the report summary, a band starting a
// new page, nested data bands, band linking order and the terminated flag.

#include "report/engine/band_links.h"
#include "report/engine/engine.h"
#include "report/engine/report_preparation.h"
#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/user_data_set.h"
#include "report/pages/preview_pages.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <gtest/gtest.h>

using namespace vornak;
using vornak::testing::ScriptedDialogs;

// Readable failure output for texts.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// A report with one page 100 millimetres high without margins (377.95 pixels to print on).
struct SmallReport {
    ScriptedDialogs dialogs;
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);

    SmallReport()
    {
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperWidth(100);
        page->SetPaperHeight(100);
        for (auto margin : {&TfrxReportPage::SetLeftMargin, &TfrxReportPage::SetRightMargin,
                            &TfrxReportPage::SetTopMargin, &TfrxReportPage::SetBottomMargin})
            (page->*margin)(0);
        InstallReportStages(report);
    }

    template <class T>
    T *band(const char *name, double top, double height)
    {
        auto *band = new T(page);
        band->SetName(QString::fromLatin1(name));
        band->SetBounds(0, top, 100, height);
        return band;
    }

    template <class T>
    T *data(const char *name, double top, double height, int rows)
    {
        T *band = this->band<T>(name, top, height);
        band->SetRowCount(rows);
        return band;
    }

    TfrxPreviewPages &store() { return frxPreviewPages(report); }

    // Each prepared page as its band names with their tops: "PageHeader1@0 Header1@20 ...".
    QStringList pages()
    {
        QStringList result;
        for (int i = 0; i < store().Count(); ++i) {
            QStringList bands;
            for (TfrxComponent *child : store().PageAt(i)->Objects())
                bands << child->Name() + QLatin1Char('@') + QString::number(child->Top(), 'f', 0);
            result << bands.join(QLatin1Char(' '));
        }
        return result;
    }
};

}  // namespace

// Page header and footer on every page, the footer's height kept free; the data header with
// ReprintOnNewPage repeated on the next page; every row followed by its child band; the summary
// after the data footer on the last page.
TEST(EngineFeatures, PageHeaderFooterChildSummaryAndRepeatedHeader)
{
    SmallReport r;
    r.band<TfrxPageHeader>("PageHeader1", 0, 20);
    r.band<TfrxHeader>("Header1", 40, 20)->SetReprintOnNewPage(true);
    auto *rows = r.data<TfrxMasterData>("MasterData1", 80, 30, 10);
    rows->SetChild(r.band<TfrxChild>("Child1", 120, 10));
    r.band<TfrxFooter>("Footer1", 140, 20);
    r.band<TfrxReportSummary>("ReportSummary1", 180, 20);
    r.band<TfrxPageFooter>("PageFooter1", 220, 20);
    ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();

    QStringList firstPage{QStringLiteral("PageHeader1@0 Header1@20")};
    for (int row = 0; row < 7; ++row)
        firstPage << QStringLiteral("MasterData1@%1 Child1@%2").arg(40 + 40 * row).arg(70 + 40 * row);
    // The eighth row fits (30 of 37.95 pixels left above the footer), its child does not.
    firstPage << QStringLiteral("MasterData1@320 PageFooter1@358");
    EXPECT_EQ(r.pages(), (QStringList{firstPage.join(u' '),
                                      QStringLiteral("PageHeader1@0 Header1@20 Child1@40 MasterData1@50 Child1@80 "
                                                     "MasterData1@90 Child1@120 Footer1@130 ReportSummary1@150 "
                                                     "PageFooter1@358")}));
}

// One page column: the column header under the page header on every page (repeated through the
// header list), the column footer right below the last band of every page, its height kept free.
TEST(EngineFeatures, ColumnHeaderAndFooterOnEveryPage)
{
    SmallReport r;
    r.band<TfrxPageHeader>("PageHeader1", 0, 20);
    r.band<TfrxColumnHeader>("ColumnHeader1", 30, 15);
    r.data<TfrxMasterData>("MasterData1", 60, 40, 12);
    r.band<TfrxColumnFooter>("ColumnFooter1", 110, 25);
    ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();
    // 377.95 pixels: 35 of headers, then rows of 40 while more than 40 + 25 are left.
    EXPECT_EQ(r.pages(), (QStringList{QStringLiteral("PageHeader1@0 ColumnHeader1@20 MasterData1@35 MasterData1@75 "
                                                     "MasterData1@115 MasterData1@155 MasterData1@195 MasterData1@235 "
                                                     "MasterData1@275 ColumnFooter1@315"),
                                      QStringLiteral("PageHeader1@0 ColumnHeader1@20 MasterData1@35 MasterData1@75 "
                                                     "MasterData1@115 MasterData1@155 MasterData1@195 "
                                                     "ColumnFooter1@235")}));
}

// A band with StartNewPage starts a page of its own (not repeated at its top); nested data bands
// print their rows under each master row.
TEST(EngineFeatures, StartNewPageAndNestedData)
{
    SmallReport r;
    r.data<TfrxMasterData>("MasterData1", 0, 20, 2);
    r.data<TfrxDetailData>("DetailData1", 40, 10, 3);
    r.band<TfrxFooter>("Footer1", 80, 20)->SetStartNewPage(true);
    ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();
    // Footer1 follows DetailData1 in Top order, so it closes every run of details.
    EXPECT_EQ(r.pages(), (QStringList{QStringLiteral("MasterData1@0 DetailData1@20 DetailData1@30 DetailData1@40"),
                                      QStringLiteral("Footer1@0 MasterData1@20 DetailData1@40 DetailData1@50 "
                                                     "DetailData1@60"),
                                      QStringLiteral("Footer1@0")}));
}

// Linking: bands sorted by Top as text with two decimals; a header goes with the data band right
// after it and a footer with the one right before it; detail bands nest under their master.
TEST(EngineFeatures, BandLinks)
{
    EXPECT_EQ(BandSortKey(222.99227), QStringLiteral("   222.99"));
    SmallReport r;
    auto *footer = r.band<TfrxFooter>("Footer1", 300, 20);
    auto *detail = r.data<TfrxDetailData>("DetailData1", 200, 20, 1);
    auto *master = r.data<TfrxMasterData>("MasterData1", 100, 20, 1);
    auto *header = r.band<TfrxHeader>("Header1", 50, 20);
    auto *stray = r.band<TfrxHeader>("Header2", 250, 20);
    auto *twin = r.data<TfrxMasterData>("MasterData2", 100.001, 20, 1);  // same key: takes no part
    const QStringList errors = LinkBands(*r.page);
    EXPECT_EQ(errors, (QStringList{QStringLiteral("Не подключенный header/footer Header2"),
                                   QStringLiteral("Не подключенный header/footer Footer1")}));
    EXPECT_EQ(master->FHeader, header);
    EXPECT_EQ(master->FFooter, nullptr);  // the footer follows the detail band and Header2
    EXPECT_EQ(detail->FFooter, nullptr);
    EXPECT_EQ(r.page->FSubBands, QList<TfrxBand *>{master});
    EXPECT_EQ(master->FSubBands, QList<TfrxBand *>{detail});
    EXPECT_EQ(twin->FSubBands, QList<TfrxBand *>{});
    EXPECT_EQ(footer->Parent(), r.page);
    EXPECT_EQ(stray->Parent(), r.page);
}

// StopReport during a run ends the data loop at its next check; the pages so far stay and no
// error is shown.
TEST(EngineFeatures, StopReportEndsTheRun)
{
    SmallReport r;
    auto *rows = r.data<TfrxMasterData>("MasterData1", 0, 20, 0);
    TfrxUserDataSet source;
    source.SetRangeEnd(reCount);
    source.SetRangeEndCount(100);
    source.OnNext = [&](TfrxDataSet &dataSet) {
        if (dataSet.RecNo() == 3)
            static_cast<TfrxEngine *>(r.report.Engine())->StopReport();
    };
    rows->SetDataSet(&source);
    EXPECT_FALSE(PrepareReport(r.report));
    EXPECT_TRUE(r.dialogs.messages.isEmpty());
    EXPECT_EQ(r.pages(), QStringList{QStringLiteral("MasterData1@0 MasterData1@20 MasterData1@40")});
}

// A preparation asked for from inside a running one (an event let through while rows print) is
// not started; the running one finishes with all its pages.
TEST(EngineFeatures, NoPreparationInsideARunningOne)
{
    SmallReport r;
    auto *rows = r.data<TfrxMasterData>("MasterData1", 0, 20, 0);
    TfrxUserDataSet source;
    source.SetRangeEnd(reCount);
    source.SetRangeEndCount(3);
    QList<bool> nested;
    source.OnNext = [&](TfrxDataSet &) { nested << PrepareReport(r.report); };
    rows->SetDataSet(&source);
    EXPECT_TRUE(PrepareReport(r.report));
    EXPECT_EQ(nested, (QList<bool>{false, false}));
    EXPECT_EQ(r.pages(), QStringList{QStringLiteral("MasterData1@0 MasterData1@20 MasterData1@40")});
}

// A text object that stretches grows with its text, the object below it moves down with it and
// a Stretched band takes the height of its lowest object; the next band follows below.
TEST(EngineFeatures, StretchingObjectsAndBands)
{
    SmallReport r;
    auto *rows = r.data<TfrxMasterData>("MasterData1", 0, 20, 2);
    rows->SetStretched(true);
    auto *memo = new TfrxMemoView(rows);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, 50, 20);
    memo->SetStretchMode(smActualHeight);
    memo->SetText(QStringLiteral("1\r\n2\r\n3\r\n4\r\n5"));
    auto *below = new TfrxMemoView(rows);
    below->SetName(QStringLiteral("Memo2"));
    below->SetBounds(0, 20, 50, 10);
    ASSERT_TRUE(PrepareReport(r.report)) << r.report.Errors().join(u'\n').toStdString();

    TfrxReportPage *page = r.store().PageAt(0);
    ASSERT_EQ(page->Objects().size(), 2);
    const TfrxComponent *first = page->Objects().at(0);
    const double grown = first->Objects().at(0)->Height();
    EXPECT_GT(grown, 60);  // five lines of 8-point text
    EXPECT_DOUBLE_EQ(first->Objects().at(1)->Top(), 20 + grown - 20);
    EXPECT_DOUBLE_EQ(first->Height(), grown + 10);
    EXPECT_DOUBLE_EQ(page->Objects().at(1)->Top(), grown + 10);
    // The template (read back after the run) keeps its design size.
    EXPECT_DOUBLE_EQ(r.report.FindObject(QStringLiteral("Memo1"))->Height(), 20);
}
