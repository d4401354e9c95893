#include "draw_test_support.h"
#include "report/draw/draw_text.h"
#include "report/draw/page_drawing.h"
#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/pages/preview_pages.h"
#include "tests/fixtures/reference_image.h"

#include <functional>
#include <gtest/gtest.h>
#include <QDir>
#include <QPainter>

using namespace vornak;
using namespace vornak::test;

namespace {

const QString referencePath = QStringLiteral(VORNAK_DRAW_FIXTURES "/small_page.png");

void setMargins(TfrxReportPage &page, double millimetres)
{
    page.SetLeftMargin(millimetres);
    page.SetRightMargin(millimetres);
    page.SetTopMargin(millimetres);
    page.SetBottomMargin(millimetres);
}

// A 100 x 70 mm page with 5 mm margins holding texts like the period report's: a two-line
// title, framed bold centred headings, framed rows, a framed right-aligned bold total and an
// unframed right-aligned line.
struct SmallPage {
    TfrxReport report;
    TfrxReportPage &page = *new TfrxReportPage(&report);
    TfrxReportTitle *band = new TfrxReportTitle(&page);

    SmallPage()
    {
        frxDrawText(report);
        page.SetPaperWidth(100);
        page.SetPaperHeight(70);
        setMargins(page, 5);
        band->SetBounds(0, 3.5, page.PrintableWidth(), 200);
        const double w = page.PrintableWidth();
        const double row = 22.67718;
        addMemo(band, {0, 0, w, 56.69295, QStringLiteral("Карточка автомобиля Лада\r\nс 01.01.2012 по 31.12.2012"),
                       fsBold, 0, haCenter, titleFont});
        addMemo(band, {0, 60, 200.31509, row, QStringLiteral("Название затрат"), fsBold, fullFrame, haCenter});
        addMemo(band, {200.31509, 60, w - 200.31509, row, QStringLiteral("Сумма"), fsBold, fullFrame, haCenter});
        addMemo(band, {0, 60 + row, 200.31509, row, QStringLiteral("Бензин"), 0, fullFrame, haCenter});
        addMemo(band, {200.31509, 60 + row, w - 200.31509, row, QStringLiteral("1 520,50"), 0, fullFrame, haCenter});
        addMemo(band, {0, 60 + 2 * row, 200.31509, row, QStringLiteral("Итоги"), fsBold, fullFrame, haRight});
        addMemo(band,
                {200.31509, 60 + 2 * row, w - 200.31509, row, QStringLiteral("1 520,50"), 0, fullFrame, haCenter});
        addMemo(band, {0, 140, w, row, QStringLiteral("Страница 1 из 1"), 0, 0, haRight});
    }
};

}  // namespace

TEST(PageDrawing, SmallPageMatchesItsReferenceImage)
{
    SmallPage small;
    ASSERT_EQ(small.page.Width(), 378);
    ASSERT_EQ(small.page.Height(), 265);
    QImage image = whiteImage(378, 265);
    {
        QPainter canvas(&image);
        frxDrawPage(small.page, 0, canvas, {});
    }
    vornak::testing::expectMatchesReference(image, referencePath);
}

TEST(PageDrawing, MarginsMoveTheOriginAndThePaperClips)
{
    TfrxReportPage page;
    page.SetPaperWidth(60);
    page.SetPaperHeight(40);
    page.SetLeftMargin(10);
    page.SetRightMargin(2);
    page.SetTopMargin(5);
    auto *band = new TfrxReportTitle(&page);
    band->SetBounds(0, 0, 1000, 10);
    auto *view = new TfrxView(band);
    view->SetBounds(0, 0, 1000, 10);  // far wider than the paper
    view->SetColor(clBlack);

    struct Case {
        int index;
        bool mirror;
        int left;
    };
    const Case cases[] = {
        {0, false, 58},  // 20 + 10 mm = 57.795
        {1, false, 58},
        {0, true, 58},
        {1, true, 28},  // odd page of a mirrored page: 20 + 2 mm = 27.559
    };
    for (const Case &c : cases) {
        page.SetMirrorMargins(c.mirror);
        QImage image = whiteImage(300, 200);
        QPainter canvas(&image);
        frxDrawPage(page, c.index, canvas, {1, 1, 20, 30});
        EXPECT_FALSE(canvas.hasClipping());
        canvas.end();
        // The paper ends at round(60 mm + 20) - 1 = 246, exclusive.
        EXPECT_EQ(inkBounds(image), QRect(QPoint(c.left, 49), QPoint(245, 58))) << c.index << " " << c.mirror;
        EXPECT_DOUBLE_EQ(page.LeftMargin(), 10);
        EXPECT_DOUBLE_EQ(page.RightMargin(), 2);
    }
}

TEST(PageDrawing, TheStoreDrawsThePagesItRebuilds)
{
    // Two prepared pages of framed rows in the report's own store.
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    setMargins(*page, 10);
    auto *band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 0, 718.1107, 22.67718);
    TfrxMemoView *memo = addMemo(band, {0, 0, 438.42548, 22.67718, QString(), 0, fullFrame, haCenter});
    memo->SetName(QStringLiteral("Memo21"));
    TfrxPreviewPages &store = frxPreviewPages(report);
    store.Clear();
    store.Initialize();
    store.BeginPass();
    store.AddSourcePage(page);
    for (int p = 0; p < 2; ++p) {
        store.AddPage(page);
        for (int row = 0; row <= p; ++row) {
            band->SetTop(row * 22.67718);
            memo->SetText(QStringLiteral("Бензин %1").arg(row + 1));
            store.AddObject(band);
        }
    }
    store.Finish();
    ASSERT_EQ(store.Count(), 2);

    const auto draw = [](const std::function<void(QPainter &)> &paint) {
        QImage image = whiteImage(400, 200);
        QPainter canvas(&image);
        paint(canvas);
        return image;
    };
    const QImage viaStore = draw([&](QPainter &c) { DrawPage(store, 1, c, 0.5, 0.5, 3, 4); });
    const QImage direct = draw([&](QPainter &c) { frxDrawPage(*store.PageAt(1), 1, c, {0.5, 0.5, 3, 4}); });
    EXPECT_EQ(viaStore, direct);
    // Two framed rows: the second row's bottom line is 2 x 22.67718 below the margin, at half scale.
    EXPECT_EQ(inkBounds(viaStore).bottom(), qRound(4 + 0.5 * (10 * fr01cm + 2 * 22.67718)));

    const QImage blank = whiteImage(400, 200);
    for (const int index : {-1, 2})
        EXPECT_EQ(draw([&](QPainter &c) { DrawPage(store, index, c, 1, 1, 0, 0); }), blank) << index;
}
