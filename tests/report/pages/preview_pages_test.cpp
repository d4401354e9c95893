#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/pages/preview_pages.h"
#include "tests/fixtures/idle_engine.h"

#include <gtest/gtest.h>

using namespace vornak;

namespace {

// A report page with a title, a master data band holding two text objects and a page footer,
// and a store that has taken the page as its source page.
struct PreparedReport {
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxReportTitle *title = new TfrxReportTitle(page);
    TfrxMasterData *band = new TfrxMasterData(page);
    TfrxMemoView *name = new TfrxMemoView(band);
    TfrxMemoView *sum = new TfrxMemoView(band);
    TfrxPageFooter *footer = new TfrxPageFooter(page);
    TfrxPreviewPages &store = frxPreviewPages(report);

    PreparedReport()
    {
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        title->SetName(QStringLiteral("ReportTitle1"));
        title->SetBounds(0, 18.89765, 718.1107, 143.62214);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 294.80334, 718.1107, 22.67718);
        name->SetName(QStringLiteral("Memo21"));
        name->SetBounds(0, 0, 438.42548, 22.67718);
        name->SetHAlign(haCenter);
        name->Frame().SetTyp(ftLeft | ftRight | ftTop | ftBottom);
        name->SetMemo({QStringLiteral("[Source1.\"opisanie\"]")});
        sum->SetName(QStringLiteral("Memo19"));
        sum->SetBounds(438.42548, 0, 257.00804, 22.67718);
        sum->SetMemo({QStringLiteral("[Source1.\"s2\"]")});
        footer->SetName(QStringLiteral("PageFooter1"));
        footer->SetBounds(0, 400, 718.1107, 30);
        store.Clear();
        store.Initialize();
        store.BeginPass();
        store.AddSourcePage(page);
    }

    IdleEngine &startEngine()
    {
        report.SetEngine(std::make_unique<IdleEngine>(report));
        report.Engine()->Running = true;
        return static_cast<IdleEngine &>(*report.Engine());
    }
    // Prints one row of the master data band at `top`.
    void addRow(double top, const QString &text)
    {
        band->SetTop(top);
        name->SetText(text);
        sum->SetText(QStringLiteral("%1,00").arg(top));
        store.AddObject(band);
    }
    // A page with `rows` rows.
    void addPage(int rows)
    {
        store.AddPage(page);
        for (int i = 0; i < rows; ++i)
            addRow(i * 22.67718, QStringLiteral("строка %1").arg(i + 1));
    }
    TfrxXMLItem *pageItem(int index) { return store.Document().Root().FindItem("previewpages")->Items(index); }
};

}  // namespace

TEST(PreviewPages, SourceObjectsGetAliasesAndKeepTheirText)
{
    PreparedReport r;
    EXPECT_EQ(r.store.Dictionary().Names(), (QStringList{"b1", "b2", "b3", "m1", "m2"}));
    EXPECT_EQ(r.store.Dictionary().GetSourceName("m2"), QStringLiteral("Page0.Memo19"));
    EXPECT_EQ(r.name->Alias, QStringLiteral("m1"));
    TfrxComponent *copy = r.name->OriginalComponent;
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->OriginalComponent, r.name);
    EXPECT_EQ(copy->Alias, QStringLiteral("m1"));
    EXPECT_TRUE(r.store.SourceComponentText(copy).startsWith(QStringLiteral("TfrxMemoView Name=\"Memo21\"")));

    // A third text object gets "m3"; a store cleared and filled again starts at "m1".
    TfrxMemoView *extra = new TfrxMemoView(r.band);
    extra->SetName(QStringLiteral("Memo30"));
    r.store.AddToSourcePage(extra);
    EXPECT_EQ(extra->Alias, QStringLiteral("m3"));
    EXPECT_EQ(r.store.Dictionary().GetSourceName("m3"), QStringLiteral("Page0.Memo1"));
    r.store.Clear();
    EXPECT_EQ(r.name->OriginalComponent, nullptr);
    r.store.AddSourcePage(r.page);
    EXPECT_EQ(r.name->Alias, QStringLiteral("m1"));

    // The report's own store lets go of the template before the report frees it.
    EXPECT_EQ(r.report.PreviewPages(), &r.store);
    EXPECT_EQ(&frxPreviewPages(r.report), &r.store);
    r.report.Clear();
    for (const TfrxComponent *sourceCopy : r.store.SourcePages(0)->AllObjects())
        EXPECT_EQ(sourceCopy->OriginalComponent, nullptr);
}

TEST(PreviewPages, PreparedObjectsAreStoredAsDifferencesAndRebuilt)
{
    PreparedReport r;
    r.addPage(2);
    r.store.Finish();
    EXPECT_EQ(r.name->OriginalComponent, nullptr);

    const TfrxXMLItem *page = r.pageItem(0);
    EXPECT_EQ(page->Name, QStringLiteral("page0"));
    ASSERT_EQ(page->Count(), 2);
    EXPECT_EQ(page->Items(1)->Name, QStringLiteral("b2"));
    EXPECT_EQ(page->Items(1)->Text, QStringLiteral("t=\"22.67718\""));
    EXPECT_EQ(page->Items(1)->Items(0)->Text, QStringLiteral("u=\"строка 2\""));

    TfrxReportPage *rebuilt = r.store.PageAt(0);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->Name(), QStringLiteral("Page1"));
    ASSERT_EQ(rebuilt->Objects().size(), 2);
    auto *row = dynamic_cast<TfrxMasterData *>(rebuilt->Objects().at(1));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Name(), QStringLiteral("MasterData1"));
    EXPECT_DOUBLE_EQ(row->Top(), 22.67718);
    EXPECT_DOUBLE_EQ(row->Width(), 718.1107);  // aligned on the page's printable width
    auto *memo = dynamic_cast<TfrxMemoView *>(row->Objects().at(0));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Memo(), QStringList{QStringLiteral("строка 2")});
    EXPECT_EQ(memo->HAlign(), haCenter);
    EXPECT_EQ(memo->Frame().Typ(), ftLeft | ftRight | ftTop | ftBottom);
    EXPECT_EQ(memo->DataSet(), nullptr);
    EXPECT_EQ(r.store.PageSizeAt(0), QSize(794, 1123));
}

TEST(PreviewPages, RebuiltPagesStayInTheCacheUntilFiftyOthersWereShown)
{
    PreparedReport r;
    for (int i = 0; i < 52; ++i)
        r.addPage(1);
    r.store.Finish();
    ASSERT_EQ(r.store.Count(), 52);

    // A mark on a rebuilt page shows whether the next PageAt rebuilt it.
    r.store.PageAt(0)->SetTag(42);
    EXPECT_EQ(r.store.PageAt(0)->Tag(), 42);  // shown twice in a row: rebuilt once
    for (int i = 1; i <= 49; ++i)
        r.store.PageAt(i);
    EXPECT_EQ(r.store.PageAt(0)->Tag(), 42);  // 50 pages cached
    for (int i = 1; i <= 50; ++i)
        r.store.PageAt(i);
    EXPECT_EQ(r.store.PageAt(0)->Tag(), 0);  // page 0 had left the cache

    r.store.PageAt(3)->SetTag(3);
    r.startEngine();  // while the engine runs every request rebuilds
    EXPECT_EQ(r.store.PageAt(3)->Tag(), 0);
}

TEST(PreviewPages, PageIndexOutsideTheStore)
{
    PreparedReport r;
    EXPECT_EQ(r.store.PageAt(0), nullptr);
    EXPECT_EQ(r.store.PageSizeAt(0), QSize(0, 0));
    r.addPage(1);
    r.store.DeletePage(0);  // the only page stays
    EXPECT_EQ(r.store.Count(), 1);
    EXPECT_EQ(r.store.PageSizeAt(1), QSize(0, 0));
    EXPECT_EQ(r.store.PageSizeAt(-1), QSize(0, 0));
    for (int index : {-1, 1}) {
        try {
            r.store.PageAt(index);
            ADD_FAILURE();
        } catch (const EngineError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Страницы с номером %1 нет в отчете (страниц: 1)").arg(index + 1));
        }
        EXPECT_THROW(r.store.AddEmptyPage(index), EngineError);
        EXPECT_THROW(r.store.ModifyPage(index, r.page), EngineError);
    }
}

TEST(PreviewPages, PastedObjectsAreShiftedToTheGivenPoint)
{
    PreparedReport r;
    r.addPage(0);
    r.store.AddObject(r.title);
    const int position = r.store.GetCurPosition();
    r.band->SetLeft(10);
    r.addRow(20, QStringLiteral("a"));
    r.band->SetLeft(30);
    r.addRow(25, QStringLiteral("b"));
    r.store.CutObjects(position);
    EXPECT_EQ(r.store.GetCurPosition(), 1);
    r.store.PasteObjects(100, 200);

    const TfrxXMLItem *page = r.pageItem(0);
    ASSERT_EQ(page->Count(), 3);
    EXPECT_EQ(page->Items(1)->Prop(u"l"), QStringLiteral("100"));
    EXPECT_EQ(page->Items(1)->Prop(u"t"), QStringLiteral("200"));
    EXPECT_EQ(page->Items(2)->Prop(u"l"), QStringLiteral("120"));
    EXPECT_EQ(page->Items(2)->Prop(u"t"), QStringLiteral("205"));
    EXPECT_EQ(r.store.Document().Root().Find("cutted"), -1);

    // A band without "l" (at its source's Left) moves by its source's position.
    r.store.CutObjects(0);
    r.store.PasteObjects(5, 0);
    EXPECT_EQ(page->Items(0)->Prop(u"l"), QStringLiteral("5"));
    EXPECT_EQ(page->Items(0)->Prop(u"t"), QStringLiteral("0"));
    EXPECT_EQ(page->Items(1)->Prop(u"l"), QStringLiteral("105"));
}

TEST(PreviewPages, LastYComesFromTheBandsOrTheStoredFallback)
{
    PreparedReport r;
    r.addPage(0);
    EXPECT_EQ(r.store.GetLastY(), 0);
    r.store.LastY = 33.5;
    EXPECT_EQ(r.store.GetLastY(), 33.5);  // no band on the page

    r.store.AddObject(r.footer);  // page footers do not count
    EXPECT_EQ(r.store.GetLastY(), 33.5);
    r.addRow(100, QStringLiteral("a"));  // "h" not stored: the band's own Height
    EXPECT_DOUBLE_EQ(r.store.GetLastY(), 122.67718);
    r.band->SetLeft(50);
    r.band->SetHeight(10);
    r.addRow(300, QStringLiteral("b"));
    EXPECT_DOUBLE_EQ(r.store.GetLastY(), 310);
    EXPECT_DOUBLE_EQ(r.store.GetLastY(50.0005), 310);
    EXPECT_EQ(r.store.GetLastY(70), 33.5);  // no band in that column

    r.store.AddObject(r.title);  // a title counts in every column
    EXPECT_DOUBLE_EQ(r.store.GetLastY(70), 18.89765 + 143.62214);
}

TEST(PreviewPages, BandExistsByOriginOrPageFooterClass)
{
    PreparedReport r;
    r.addPage(0);
    EXPECT_FALSE(r.store.BandExists(r.band));
    r.addRow(0, QStringLiteral("a"));
    EXPECT_TRUE(r.store.BandExists(r.band));
    EXPECT_FALSE(r.store.BandExists(r.footer));
    TfrxPageFooter runTimeFooter;  // no source copy: found by its class
    r.store.AddObject(&runTimeFooter);
    EXPECT_EQ(r.pageItem(0)->Items(1)->Name, QStringLiteral("TfrxPageFooter"));
    EXPECT_TRUE(r.store.BandExists(r.footer));
}

TEST(PreviewPages, LogicalPageNumbers)
{
    PreparedReport r;
    r.startEngine().TotalPages = 5;
    for (int i = 0; i < 3; ++i)
        r.addPage(0);
    EXPECT_EQ(r.store.GetLogicalPageNo(), 3);
    EXPECT_EQ(r.store.GetLogicalTotalPages(), 5);  // no total written yet
    r.store.ResetLogicalPageNumber();
    r.addPage(0);
    EXPECT_EQ(r.store.GetLogicalPageNo(), 1);
    r.store.ResetLogicalPageNumber();
    r.store.CurPage = 1;
    EXPECT_EQ(r.store.GetLogicalPageNo(), 2);
    EXPECT_EQ(r.store.GetLogicalTotalPages(), 3);
    r.store.CurPage = 3;
    EXPECT_EQ(r.store.GetLogicalTotalPages(), 1);
}

TEST(PreviewPages, TwoPassReportsKeepTheFirstPassNumbering)
{
    PreparedReport r;
    r.report.EngineOptions.DoublePass = true;
    r.startEngine().FinalPass = false;
    r.addPage(1);
    // The first pass stores the plain component difference, which rebuilds the same way.
    EXPECT_EQ(r.pageItem(0)->Items(0)->Text, QStringLiteral("Top=\"0\""));
    EXPECT_EQ(r.pageItem(0)->Items(0)->Items(0)->Text, QStringLiteral("Memo.Text=\"строка 1\""));
    r.addPage(0);
    r.store.ResetLogicalPageNumber();

    r.store.ClearFirstPassPages();  // the pass began before the first page: every page goes
    EXPECT_EQ(r.store.Count(), 0);
    r.report.Engine()->FinalPass = true;
    r.addPage(1);
    EXPECT_EQ(r.pageItem(0)->Items(0)->Text, QStringLiteral("t=\"0\""));
    EXPECT_EQ(r.store.Document().Root().FindItem("logicalpagenumbers")->Count(), 2);
    EXPECT_EQ(r.store.GetLogicalTotalPages(), 2);
    r.report.Engine()->Running = false;
    EXPECT_EQ(r.store.PageAt(0)->Objects().at(0)->Objects().at(0)->Name(), QStringLiteral("Memo21"));
}

TEST(PreviewPages, FirstPassPagesAreDroppedFromThePassStart)
{
    PreparedReport r;
    r.addPage(2);
    r.store.BeginPass();
    r.addRow(50, QStringLiteral("x"));
    r.addPage(3);
    r.store.ClearFirstPassPages();
    EXPECT_EQ(r.store.Count(), 1);
    EXPECT_EQ(r.store.GetCurPosition(), 2);
}

TEST(PreviewPages, EditingPagesEmptiesTheCache)
{
    PreparedReport r;
    r.addPage(2);
    r.store.Finish();
    r.store.PageAt(0)->SetTag(1);

    r.store.AddEmptyPage(0);
    EXPECT_EQ(r.store.Count(), 2);
    EXPECT_EQ(r.pageItem(0)->Name, QStringLiteral("page0"));
    EXPECT_TRUE(r.store.PageAt(0)->Objects().isEmpty());
    EXPECT_EQ(r.store.PageAt(1)->Objects().size(), 2);

    // A modified page is stored whole and rebuilt from its own text.
    TfrxReportPage *edited = r.store.PageAt(1);
    static_cast<TfrxMemoView *>(edited->Objects().at(0)->Objects().at(1))->SetText(QStringLiteral("исправлено"));
    r.store.ModifyPage(1, edited);
    EXPECT_EQ(r.pageItem(1)->Name, QStringLiteral("TfrxReportPage"));
    TfrxReportPage *rebuilt = r.store.PageAt(1);
    ASSERT_EQ(rebuilt->Objects().size(), 2);
    EXPECT_EQ(static_cast<TfrxMemoView *>(rebuilt->Objects().at(0)->Objects().at(1))->Text(),
              QStringLiteral("исправлено"));
    EXPECT_EQ(r.store.PageSizeAt(1), QSize(794, 1123));

    r.store.DeletePage(0);
    EXPECT_EQ(r.store.Count(), 1);
    EXPECT_EQ(r.pageItem(0)->Name, QStringLiteral("TfrxReportPage"));
}
