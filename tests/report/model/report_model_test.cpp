#include "platform/errors.h"
#include "platform/paper_sizes.h"
#include "report/model/band.h"
#include "report/model/class_registry.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/user_data_set.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vornak;

namespace {

// A report with one A4 page (10 mm margins), a master data band and two text objects in it.
struct SmallReport {
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxMasterData *band = new TfrxMasterData(page);
    TfrxMemoView *memo1 = new TfrxMemoView(band);
    TfrxMemoView *memo2 = new TfrxMemoView(band);

    SmallReport()
    {
        page->SetName(QStringLiteral("Page1"));
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        band->SetName(QStringLiteral("MasterData1"));
        memo1->SetName(QStringLiteral("Memo1"));
        memo2->SetName(QStringLiteral("Memo2"));
    }
};

}  // namespace

TEST(ReportObjectModel, FindObjectFoldsOnlyLatinLetters)
{
    SmallReport r;
    auto *cyrillic = new TfrxMemoView(r.band);
    cyrillic->SetName(QStringLiteral("Итог"));

    EXPECT_EQ(r.report.FindObject(QStringLiteral("masterdata1")), r.band);
    EXPECT_EQ(r.report.FindObject(QStringLiteral("MEMO2")), r.memo2);
    EXPECT_EQ(r.report.FindObject(QStringLiteral("Итог")), cyrillic);
    EXPECT_EQ(r.report.FindObject(QStringLiteral("итог")), nullptr);
    EXPECT_EQ(r.report.FindObject(QStringLiteral("Nowhere")), nullptr);
    // Depth-first pre-order: page, band, its memos.
    const QList<TfrxComponent *> all = r.report.AllObjects();
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all[0], r.page);
    EXPECT_EQ(all[1], r.band);
    EXPECT_EQ(all[2], r.memo1);
    EXPECT_EQ(r.memo1->Report(), &r.report);
    EXPECT_EQ(r.memo1->Page(), r.page);
}

TEST(ReportObjectModel, RenamingRules)
{
    SmallReport r;
    r.memo1->SetName(QStringLiteral("MEMO1"));  // the same name ignoring case: nothing changes
    EXPECT_EQ(r.memo1->Name(), QStringLiteral("Memo1"));

    EXPECT_THROW(r.memo1->SetName(QStringLiteral("memo2")), EngineError);
    EXPECT_EQ(r.memo1->Name(), QStringLiteral("Memo1"));

    r.memo1->SetName(QString());
    EXPECT_EQ(r.memo1->Name(), QString());
    r.memo1->SetName(QStringLiteral("Total"));
    EXPECT_EQ(r.report.FindObject(QStringLiteral("total")), r.memo1);
}

TEST(ReportObjectModel, UniqueAndBaseNames)
{
    SmallReport r;
    auto *memo = new TfrxMemoView(r.band);
    EXPECT_EQ(memo->BaseName(), QStringLiteral("Memo"));
    memo->CreateUniqueName();
    EXPECT_EQ(memo->Name(), QStringLiteral("Memo3"));

    const struct {
        TfrxComponent *object;
        const char *baseName;
    } cases[] = {
        {r.band, "MasterData"},
        {r.page, "Page"},
        {new TfrxReportTitle(r.page), "ReportTitle"},
        {new TfrxDataPage(&r.report), "DataPage"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.object->BaseName(), QString::fromLatin1(c.baseName));
}

TEST(ReportObjectModel, FreeingRemovesFromParentAndClearFreesChildren)
{
    SmallReport r;
    delete r.memo1;
    ASSERT_EQ(r.band->Objects().size(), 1);
    EXPECT_EQ(r.band->Objects().first(), r.memo2);

    r.memo2->SetParent(r.page);
    EXPECT_EQ(r.page->Objects().last(), r.memo2);
    EXPECT_TRUE(r.band->Objects().isEmpty());

    r.report.Datasets().Add().SetDataSetName(QStringLiteral("Nobody"));
    r.report.SetScriptText({QStringLiteral("var"), QStringLiteral("x: Integer;")});
    r.report.PreviewOptions.Zoom = 2;
    r.report.Clear();
    EXPECT_TRUE(r.report.Objects().isEmpty());
    EXPECT_EQ(r.report.Datasets().Count(), 0);
    EXPECT_EQ(r.report.ScriptText(), (QStringList{QStringLiteral("begin"), QString(), QStringLiteral("end.")}));
    EXPECT_EQ(r.report.ScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_EQ(r.report.PreviewOptions.Zoom, 1.0);
    EXPECT_EQ(r.report.SystemVariables().size(), 9);
}

TEST(ReportObjectModel, UnitConstantsAreExact)
{
    EXPECT_EQ(fr01cm, 3.77953);
    EXPECT_EQ(fr1cm, 37.7953);
    EXPECT_EQ(fr01in, 9.6);
    EXPECT_EQ(fr1in, 96);
    EXPECT_EQ(fr1CharX, 9.6);
    EXPECT_EQ(fr1CharY, 17);
}

TEST(ReportObjectModel, A4PageWithTenMillimetreMargins)
{
    SmallReport r;
    EXPECT_EQ(r.page->PaperSize(), 9);
    EXPECT_EQ(r.page->PaperWidth(), 210);
    EXPECT_EQ(r.page->PaperHeight(), 297);
    EXPECT_EQ(r.page->Width(), 794);
    EXPECT_EQ(r.page->Height(), 1123);
    EXPECT_NEAR(r.page->PrintableWidth(), 718.1107, 1e-9);
    EXPECT_NEAR(r.page->PrintableHeight(), 1046.92981, 1e-9);

    r.band->SetWidth(100);
    r.memo1->SetWidth(600.94488189);
    r.memo1->SetAlign(baCenter);
    auto *loose = new TfrxMemoView(r.page);
    loose->SetWidth(702.99258);
    loose->SetAlign(baCenter);
    r.page->AlignChildren();

    EXPECT_NEAR(r.band->Width(), 718.1107, 1e-9);
    EXPECT_NEAR(r.memo1->Left(), 58.58290905499997, 1e-9);
    EXPECT_NEAR(loose->Left(), 7.55906, 1e-9);
    EXPECT_EQ(r.page->Width(), 794);  // back to the paper size
    EXPECT_EQ(r.page->Height(), 1123);
}

TEST(ReportObjectModel, PaperSizeRules)
{
    TfrxReportPage page;
    page.SetPaperWidth(210.123456789);
    EXPECT_EQ(page.PaperWidth(), 210.12345679);
    EXPECT_EQ(page.PaperSize(), 256);
    EXPECT_EQ(page.Width(), 794);

    page.SetPaperSize(48);  // not in the table: the size stays
    EXPECT_EQ(page.PaperWidth(), 210.12345679);
    EXPECT_EQ(page.PaperSize(), 48);

    const struct {
        int code;
        double width, height;
    } papers[] = {{1, 215.9, 279.4}, {8, 297, 420}, {9, 210, 297}, {11, 148, 210}};
    for (const auto &paper : papers) {
        page.SetPaperSize(paper.code);
        EXPECT_EQ(page.PaperWidth(), paper.width) << paper.code;
        EXPECT_EQ(page.PaperHeight(), paper.height) << paper.code;
    }

    page.SetPaperSize(9);
    page.SetLeftMargin(1);
    page.SetRightMargin(2);
    page.SetTopMargin(3);
    page.SetBottomMargin(4);
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    EXPECT_EQ(page.Width(), 1123);
    EXPECT_EQ(page.LeftMargin(), 3);
    EXPECT_EQ(page.RightMargin(), 4);
    EXPECT_EQ(page.TopMargin(), 2);
    EXPECT_EQ(page.BottomMargin(), 1);
    page.SetPaperSize(11);  // looked up while landscape: swapped
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 148);
    page.SetOrientation(poPortrait);
    EXPECT_EQ(page.LeftMargin(), 1);
    EXPECT_EQ(page.RightMargin(), 2);
    EXPECT_EQ(page.TopMargin(), 3);
    EXPECT_EQ(page.BottomMargin(), 4);
}

TEST(ReportObjectModel, PaperTableHoldsTheStandardCodes)
{
    const QList<PaperSize> &table = standardPaperSizes();
    EXPECT_EQ(table.size(), 66);
    EXPECT_FALSE(findPaperSize(48));
    EXPECT_FALSE(findPaperSize(49));
    EXPECT_FALSE(findPaperSize(69));
    for (const PaperSize &paper : table) {
        EXPECT_GT(paper.width, 0) << paper.code;
        EXPECT_GT(paper.height, 0) << paper.code;
    }
    EXPECT_EQ(findPaperSize(9)->width, 2100);
    EXPECT_EQ(findPaperSize(9)->height, 2970);
}

TEST(ReportObjectModel, BandFontReachesChildrenThatFollowIt)
{
    SmallReport r;
    TFont own = r.memo2->Font();
    own.Name = QStringLiteral("Tahoma");
    r.memo2->SetFont(own);
    EXPECT_FALSE(r.memo2->ParentFont());

    TFont bandFont = r.band->Font();
    bandFont.Height = -16;
    bandFont.Style = fsBold;
    r.band->SetFont(bandFont);

    EXPECT_TRUE(r.memo1->ParentFont());
    EXPECT_EQ(r.memo1->Font(), bandFont);
    EXPECT_EQ(r.memo2->Font().Name, QStringLiteral("Tahoma"));
    EXPECT_EQ(r.memo2->Font().Height, -13);
    EXPECT_EQ(bandFont.Size(), 12);

    // A new child takes its parent's font; moving it re-applies ParentFont.
    auto *memo = new TfrxMemoView(r.band);
    EXPECT_EQ(memo->Font(), bandFont);
    memo->SetParent(r.page);
    EXPECT_EQ(memo->Font(), r.page->Font());
}

TEST(ReportObjectModel, MemoTextLineBreaks)
{
    const struct {
        const char16_t *text;
        QStringList lines;
    } cases[] = {
        {u"a\r\nb", {QStringLiteral("a"), QStringLiteral("b")}},
        {u"a\n\rb", {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {u"a\r\n", {QStringLiteral("a")}},
        {u"a\x2028"
         u"b\rc",
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {u"a\r\n\x2028"
         u"b",
         {QStringLiteral("a"), QStringLiteral("b")}},
        {u"", {}},
    };
    TfrxMemoView memo;
    for (const auto &c : cases) {
        memo.SetText(QString::fromUtf16(c.text));
        EXPECT_EQ(memo.Memo(), c.lines) << QString::fromUtf16(c.text).toStdString();
    }
    memo.SetMemo({QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_EQ(memo.Text(), QStringLiteral("x\r\ny"));
}

TEST(ReportObjectModel, BandNumbersAndFindBand)
{
    TfrxReportPage page;
    auto *title = new TfrxReportTitle(&page);
    auto *header = new TfrxHeader(&page);
    auto *master = new TfrxMasterData(&page);
    auto *overlay = new TfrxOverlay(&page);
    auto *engineBand = new TfrxNullBand(&page);
    EXPECT_EQ(title->BandNumber(), 0);
    EXPECT_EQ(header->BandNumber(), 4);
    EXPECT_EQ(master->BandNumber(), 6);
    EXPECT_EQ(TfrxDataBand6().BandNumber(), 11);
    EXPECT_EQ(TfrxGroupFooter().BandNumber(), 13);
    EXPECT_EQ(overlay->BandNumber(), 17);
    EXPECT_EQ(engineBand->BandNumber(), 0);

    EXPECT_EQ(page.FindBand<TfrxDataBand>(), master);
    EXPECT_EQ(page.FindBand(QStringLiteral("TfrxHeader")), header);
    EXPECT_EQ(page.FindBand(QStringLiteral("TfrxDataBand")), master);
    EXPECT_EQ(page.FindBand<TfrxFooter>(), nullptr);
}

TEST(ReportObjectModel, AbsolutePositionsAddTheParents)
{
    SmallReport r;
    r.band->SetLeft(5);
    r.band->SetTop(100);
    r.memo1->SetLeft(7);
    r.memo1->SetTop(3);
    EXPECT_EQ(r.memo1->AbsLeft(), 12);
    EXPECT_EQ(r.memo1->AbsTop(), 103);
}

TEST(ReportObjectModel, AlignChildrenPlacesSideBySide)
{
    TfrxMasterData band;
    band.SetBounds(0, 0, 500, 20);
    const auto view = [&](double left, double width, TfrxAlign align) {
        auto *memo = new TfrxMemoView(&band);
        memo->SetBounds(left, 0, width, 20);
        memo->SetAlign(align);
        return memo;
    };
    TfrxMemoView *fixed = view(100, 50, baNone);
    TfrxMemoView *left = view(300, 40, baLeft);    // moves to the right edge of `fixed`
    TfrxMemoView *right = view(400, 60, baRight);  // nothing after it: to the band's right edge
    TfrxMemoView *first = view(-5, 30, baLeft);    // nothing before it: to 0
    auto *below = new TfrxMemoView(&band);         // another row: its own neighbours
    below->SetBounds(0, 40, 100, 10);
    below->SetAlign(baWidth);
    auto *bottom = new TfrxMemoView(&band);
    bottom->SetBounds(0, 0, 10, 5);
    bottom->SetAlign(baBottom);
    auto *client = new TfrxMemoView(&band);
    client->SetAlign(baClient);

    band.AlignChildren();
    EXPECT_EQ(first->Left(), 0);
    EXPECT_EQ(left->Left(), 150);
    EXPECT_EQ(right->Left(), 440);
    EXPECT_EQ(fixed->Left(), 100);
    EXPECT_EQ(below->Left(), 0);
    EXPECT_EQ(below->Width(), 500);
    EXPECT_EQ(bottom->Top(), 15);
    EXPECT_EQ(client->Width(), 500);
    EXPECT_EQ(client->Height(), 20);
}

// Every class the registry can create is created by its name, reports that name and reaches
// TfrxComponent through the one table of parents; the engine's own band is among them but a
// template may not name it.
TEST(ReportObjectModel, ClassesAreCreatedByNameAndKnowTheirParents)
{
    const QStringList classes = frxRegisteredClasses();
    ASSERT_TRUE(classes.contains(QStringLiteral("TfrxNullBand")));
    for (const QString &name : classes) {
        std::unique_ptr<TfrxComponent> object(frxCreateComponent(name, nullptr));
        ASSERT_NE(object, nullptr) << name.toStdString();
        EXPECT_EQ(object->ClassName(), name);
        QStringList chain;
        for (QString c = name; !c.isEmpty(); c = frxParentClassName(c))
            chain << c;
        EXPECT_EQ(chain.last(), QStringLiteral("TfrxComponent")) << name.toStdString();
    }
    EXPECT_TRUE(frxFindClass(QStringLiteral("TfrxNullBand"))->engineOnly);
    EXPECT_EQ(frxCreateComponent(QStringLiteral("TfrxBand"), nullptr), nullptr);  // only a base
    EXPECT_EQ(frxCreateComponent(QStringLiteral("TfrxNoSuchThing"), nullptr), nullptr);

    TfrxReportPage page;
    TfrxComponent *band = frxCreateComponent(QStringLiteral("TfrxNullBand"), &page);
    EXPECT_EQ(band->Parent(), &page);
    EXPECT_TRUE(band->inheritsScriptClass(QStringLiteral("tfrxband")));
    EXPECT_FALSE(band->inheritsScriptClass(QStringLiteral("TfrxDataBand")));
}

// Assign copies every stored property, also those at their default, so the copy keeps nothing
// of what it had; every property reads back what it was given through its typed value.
// The counting data source the engine creates for a band with RowCount: exactly that many rows.
TEST(ReportObjectModel, UserDataSetCountsItsRows)
{
    std::unique_ptr<TfrxComponent> created(frxCreateComponent(QStringLiteral("TfrxUserDataSet"), nullptr));
    auto *rows = dynamic_cast<TfrxUserDataSet *>(created.get());
    ASSERT_NE(rows, nullptr);
    rows->SetRangeEnd(reCount);
    rows->SetRangeEndCount(3);
    rows->SetFields({QStringLiteral("n")});
    rows->OnGetValue = [rows](const QString &, Variant &value) { value = Variant(rows->RecNo() + 1); };
    QStringList seen;
    for (rows->First(); !rows->Eof(); rows->Next())
        seen << rows->DisplayText(QStringLiteral("n"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(rows->FieldsCount(), 1);
}

TEST(ReportObjectModel, AssignCopiesEveryStoredPropertyDefaultsIncluded)
{
    TfrxMemoView source;
    source.SetName(QStringLiteral("Source"));
    source.SetText(QStringLiteral("a\r\nb"));
    TfrxMemoView target;
    target.SetBounds(5, 6, 7, 8);
    target.SetHAlign(haRight);
    target.Frame().SetTyp(15);
    target.Frame().LeftLine.Width = 3;
    target.SetGapX(9);
    target.SetColor(clRed);
    target.SetWordWrap(false);
    TFont font;
    font.Height = -20;
    target.SetFont(font);
    TfrxMemoView next;
    next.SetName(QStringLiteral("Next"));
    target.SetFlowTo(&next);
    TfrxUserDataSet rows;
    target.SetDataSet(&rows);

    target.Assign(source);
    EXPECT_EQ(target.FlowTo(), nullptr);
    EXPECT_EQ(target.DataSet(), nullptr);
    int compared = 0;
    for (const TfrxPropertyInfo &property : source.Properties()) {
        if (!property.isStoredAtAll(source))
            continue;
        EXPECT_EQ(property.read(target), property.read(source)) << property.name.toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 30);
    EXPECT_TRUE(target.ParentFont());

    for (const TfrxPropertyInfo &property : target.Properties()) {
        if (property.isReference())
            continue;
        const Variant before = property.value(target);
        property.setValue(target, before);
        EXPECT_EQ(property.value(target), before) << property.name.toStdString();
        EXPECT_NO_THROW(property.write(target, property.read(target))) << property.name.toStdString();
    }
}
