#include "draw_test_support.h"
#include "report/draw/view_drawing.h"
#include "report/model/view.h"

#include <functional>
#include <gtest/gtest.h>
#include <QPainter>

using namespace vornak;
using namespace vornak::test;

namespace {

// Draws `view` on a white 60 x 50 image at scale 1.
QImage drawn(TfrxView &view, double scale = 1)
{
    QImage image = whiteImage(60, 50);
    QPainter canvas(&image);
    frxDrawView(view, canvas, {scale, scale, 0, 0});
    return image;
}

bool isBlack(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

}  // namespace

TEST(FrameDrawing, SidesMeetInClosedCornersAndLoneEndsArePulledIn)
{
    struct Case {
        TfrxFrameTypes typ;
        double width;
        QRect ink;  // (x0, y0) = (10, 10), (x1, y1) = (40, 30)
    };
    const Case cases[] = {
        {fullFrame, 1, QRect(QPoint(10, 10), QPoint(40, 30))},
        {fullFrame, 3, QRect(QPoint(9, 9), QPoint(41, 31))},  // square ends fill the corners
        {ftTop, 3, QRect(QPoint(10, 9), QPoint(40, 11))},     // both ends pulled in by 1
        {ftTop, 4, QRect(QPoint(10, 8), QPoint(39, 11))},     // an even pen ends on x1, exclusive
        {ftLeft | ftTop, 3, QRect(QPoint(9, 9), QPoint(40, 30))},
        {0, 3, QRect()},
    };
    for (const Case &c : cases) {
        TfrxView view;
        view.SetBounds(10, 10, 30, 20);
        view.Frame().SetTyp(c.typ);
        view.Frame().SetWidth(c.width);
        const QImage image = drawn(view);
        EXPECT_EQ(inkBounds(image), c.ink) << c.typ << " width " << c.width;
        if (c.typ == fullFrame) {
            for (const QPoint corner : {c.ink.topLeft(), c.ink.topRight(), c.ink.bottomLeft(), c.ink.bottomRight()})
                EXPECT_TRUE(isBlack(image, corner.x(), corner.y())) << corner.x() << "," << corner.y();
            EXPECT_FALSE(isBlack(image, 25, 20));  // no fill
        }
    }
}

TEST(FrameDrawing, EachSideHasItsOwnLineAndNoneColourDrawsNothing)
{
    TfrxView view;
    view.SetBounds(10, 10, 30, 20);
    view.Frame().SetTyp(fullFrame);
    view.Frame().BottomLine.Color = clRed;
    const QImage image = drawn(view);
    EXPECT_EQ(image.pixelColor(25, 30), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(10, 20), QColor(Qt::black));

    view.Frame().SetColor(clNone);
    EXPECT_EQ(inkBounds(drawn(view)), QRect());
}

TEST(ViewDrawing, BackgroundFillsTheDeviceRectangleUnderTheFrame)
{
    TfrxView view;
    view.SetBounds(5, 5, 10, 10);
    view.SetColor(clBlue);
    view.Frame().SetTyp(ftBottom);
    const QImage image = drawn(view, 2);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(29, 28), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(30, 20), QColor(Qt::white));  // x1 itself is outside the fill
    EXPECT_EQ(image.pixelColor(20, 30), QColor(Qt::black));  // the bottom side at y1
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::white));

    view.SetColor(clTransparent);
    view.Frame().SetTyp(0);
    EXPECT_EQ(inkBounds(drawn(view)), QRect());

    // A drop shadow takes its width off the view and lies along the right and bottom edges.
    view.Frame().SetDropShadow(true);
    view.Frame().SetShadowWidth(2);
    EXPECT_EQ(inkBounds(drawn(view)), QRect(QPoint(7, 7), QPoint(14, 14)));  // x1 = 15 - 2, strips 2 wide
}

TEST(ViewDrawing, FeaturesLeftOpenDrawTheirFrameAndBackgroundWithoutFailing)
{
    // Options the period report does not use, odd texts and odd geometry: each memo still draws
    // its background and frame, at small and large zoom.
    struct Case {
        const char *what;
        std::function<void(TfrxMemoView &)> set;
    };
    const Case cases[] = {
        {"rotation", [](TfrxMemoView &m) { m.SetRotation(90); }},
        {"html tags",
         [](TfrxMemoView &m) {
             m.SetAllowHTMLTags(true);
             m.SetText(QStringLiteral("<b>Итоги</b>"));
         }},
        {"right to left", [](TfrxMemoView &m) { m.SetRTLReading(true); }},
        {"justified",
         [](TfrxMemoView &m) {
             m.SetHAlign(haBlock);
             m.SetParagraphGap(8);
         }},
        {"underline and strike-out",
         [](TfrxMemoView &m) {
             TFont font = m.Font();
             font.Style = fsUnderline | fsStrikeOut | fsItalic;
             m.SetFont(font);
         }},
        {"word break and highlight",
         [](TfrxMemoView &m) {
             m.SetWordBreak(true);
             m.Highlight().Active = true;
         }},
        {"dashed double frame",
         [](TfrxMemoView &m) {
             m.Frame().SetStyle(fsDouble);
             m.Frame().LeftLine.Style = fsDash;
         }},
        {"characters outside the font",
         [](TfrxMemoView &m) { m.SetText(QStringLiteral("汽车 🚗 \t") + QChar(0xD800) + QStringLiteral(" конец")); }},
        {"empty text", [](TfrxMemoView &m) { m.SetMemo({}); }},
        {"narrower than its gaps", [](TfrxMemoView &m) { m.SetWidth(3); }},
        {"huge character spacing",
         [](TfrxMemoView &m) {
             m.SetCharSpacing(500);
             m.SetLineSpacing(-30);
         }},
        {"wysiwyg off, centred vertically",
         [](TfrxMemoView &m) {
             m.SetWysiwyg(false);
             m.SetVAlign(vaCenter);
         }},
    };
    for (const Case &c : cases) {
        for (const double zoom : {0.25, 3.0}) {
            TfrxMemoView memo;
            memo.SetBounds(4, 4, 40, 30);
            memo.SetText(QStringLiteral("Изменения за период"));
            memo.SetColor(clSilver);
            memo.Frame().SetTyp(fullFrame);
            c.set(memo);
            QImage image = whiteImage(200, 200);
            QPainter canvas(&image);
            frxDrawView(memo, canvas, {zoom, zoom, 0, 0});
            canvas.end();
            const TfrxViewRect rect = frxViewRect(memo, {zoom, zoom, 0, 0});
            EXPECT_TRUE(isBlack(image, rect.X0, rect.Y0)) << c.what << " at " << zoom;
            EXPECT_NE(image.pixelColor(rect.X0 + 1, rect.Y1 - 1), QColor(Qt::white)) << c.what << " at " << zoom;
        }
    }
}
