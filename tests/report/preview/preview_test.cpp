// The preview control on the period report prepared by the band engine, shown offscreen and
// driven with real mouse events: the page layout and its scroll ranges, clicks and dragging,
// pages appearing while the report is still being prepared, and preparing again in place.

#include "report/engine/report_preparation.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/view.h"
#include "report/pages/preview_pages.h"
#include "report/preview/preview.h"
#include "report/preview/preview_workspace.h"
#include "tests/fixtures/period_report_data.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using namespace vornak;
using vornak::testing::PeriodReportData;
using vornak::testing::ScriptedDialogs;

namespace {

// Counts the pages the preview has placed each time its page area paints.
struct PaintWatch : QObject {
    TfrxPreview *preview;
    std::vector<int> placedWhilePreparing;
    explicit PaintWatch(TfrxPreview &p)
        : preview(&p)
    {
        p.Workspace().viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && preview->Running())
            placedWhilePreparing.push_back(preview->Workspace().PageList().Count());
        return false;
    }
};

// The period report with `expenses` rows, shown in a preview whose page area is `size`.
struct ShownReport {
    PeriodReportData data;
    ScriptedDialogs dialogs;
    TfrxPreview preview;
    TfrxReport report;

    ShownReport(int expenses, QSize size)
        : data(QStringLiteral("Нива"), 1000, expenses, [](const QString &field, int record) {
              return field == u"s2" ? Variant(record + 1) : Variant(QStringLiteral("Расход %1").arg(record + 1));
          })
    {
        preview.setObjectName(QStringLiteral("frxPreview1"));
        data.load(report, &preview);
        InstallReportStages(report);
        resize(size);
        preview.show();
    }

    void resize(QSize size)
    {
        const int frame = preview.frameWidth();
        preview.resize(size + QSize(2 * frame, 2 * frame));
        QCoreApplication::processEvents();
    }

    // ShowReport, then the report's timer fired at once (no waiting).
    void show()
    {
        ShowReport(report);
        QMetaObject::invokeMethod(report.Timer(), "timeout");
        QCoreApplication::processEvents();
    }

    TfrxPreviewWorkspace &area() { return preview.Workspace(); }
    QWidget *view() { return area().viewport(); }
    QRect pageInView(int index) { return area().PageList().PageRect(index).translated(-area().ScrollPosition()); }
};

int scrollBarWidth(const QWidget &widget)
{
    return widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
}

}  // namespace

// One A4 page at zoom 1 in a 400-pixel page area: 10 from the top and, the row being wider than
// the area, 10 from the left; ranges 10 + 1123 + 10 and 804 + 10, the scroll bars' maxima what
// the view does not show of them.
TEST(Preview, OnePageLayoutAndRanges)
{
    ShownReport r(5, QSize(400, 400));
    ASSERT_EQ(r.area().width(), 400);
    r.show();
    ASSERT_EQ(r.area().PageList().Count(), 1);
    EXPECT_EQ(r.area().PageList().Items(0).rect(), QRect(10, 10, 794, 1123));
    EXPECT_EQ(r.area().ScrollRange(), QSize(814, 1143));
    EXPECT_EQ(r.area().verticalScrollBar()->maximum(), 1143 - r.view()->height());
    EXPECT_EQ(r.area().horizontalScrollBar()->maximum(), 814 - r.view()->width());
    EXPECT_EQ(r.area().verticalScrollBar()->singleStep(), 8);
    EXPECT_EQ(r.area().verticalScrollBar()->pageStep(), 300);
    EXPECT_EQ(r.preview.PageNo(), 1);
}

// Two pages share a row once the page area is 1598 + 26 + the scroll bar wide, centred in it;
// one pixel narrower each is a row of its own, 10 pixels apart and centred in the client width
// (1597 here: shifted right by (1597 − 804 + 10) div 2 + 10).
TEST(Preview, TwoPagesShareARowFromTheThreshold)
{
    ShownReport r(40, QSize(800, 600));
    r.show();
    ASSERT_EQ(r.area().PageList().Count(), 2);
    const int threshold = 1598 + 26 + scrollBarWidth(r.area());
    struct Case {
        int width;
        QPoint second;
    } cases[] = {{threshold, QPoint(814, 10)}, {threshold - 1, QPoint(411, 1143)}};
    for (const Case &c : cases) {
        r.resize(QSize(c.width, 600));
        const TfrxPageList &list = r.area().PageList();
        EXPECT_EQ(QPoint(list.Items(1).OffsetX, list.Items(1).OffsetY), c.second) << c.width;
        EXPECT_EQ(list.Items(0).OffsetY, 10) << c.width;
    }
}

// Clicking on the second page makes it current and moves the dark-blue frame to it; the view
// does not move.
TEST(Preview, ClickMovesTheFrameWithoutScrolling)
{
    ShownReport r(40, QSize(800, 800));
    r.show();
    r.area().SetScrollPosition(QPoint(0, 700));
    ASSERT_EQ(r.preview.PageNo(), 1);
    const QRect first = r.pageInView(0), second = r.pageInView(1);
    const QColor frame = r.preview.ActiveFrameColor, back = r.preview.BackColor;
    const QPoint firstFrame(first.left() - 1, first.bottom() - 20), secondFrame(second.left() - 1, second.top() + 20);
    QImage before = r.view()->grab().toImage();
    EXPECT_EQ(before.pixelColor(firstFrame), frame);
    EXPECT_EQ(before.pixelColor(secondFrame), back);

    QTest::mouseClick(r.view(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(r.preview.PageNo(), 2);
    EXPECT_EQ(r.area().ScrollPosition(), QPoint(0, 700));
    QImage after = r.view()->grab().toImage();
    EXPECT_EQ(after.pixelColor(firstFrame), back);
    EXPECT_EQ(after.pixelColor(secondFrame), frame);
}

// Dragging the pages up by 100 pixels scrolls down by 100; the page whose top comes within a
// fifth of a page of the view's top becomes current. Keys and the wheel move nothing.
TEST(Preview, DraggingScrollsKeysAndWheelDoNot)
{
    ShownReport r(40, QSize(800, 600));
    r.show();
    r.area().SetScrollPosition(QPoint(0, 850));
    ASSERT_EQ(r.preview.PageNo(), 1);
    QTest::mousePress(r.view(), Qt::LeftButton, {}, QPoint(300, 400));
    QTest::mouseMove(r.view(), QPoint(300, 300));
    EXPECT_EQ(r.area().ScrollPosition(), QPoint(0, 950));
    EXPECT_EQ(r.preview.PageNo(), 2);
    QTest::mouseRelease(r.view(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_EQ(r.area().ScrollPosition(), QPoint(0, 950));

    for (int key : {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_Home, Qt::Key_End})
        QTest::keyClick(r.view(), Qt::Key(key));
    // Over the pages and over either scroll bar, two notches each.
    for (QWidget *target : {r.view(), static_cast<QWidget *>(r.area().verticalScrollBar()),
                            static_cast<QWidget *>(r.area().horizontalScrollBar())}) {
        for (int notch = 0; notch < 2; ++notch) {
            QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(target, &wheel);
        }
    }
    EXPECT_EQ(r.area().ScrollPosition(), QPoint(0, 950));
    EXPECT_EQ(r.preview.PageNo(), 2);
    EXPECT_FALSE(r.preview.hasFocus() || r.area().hasFocus() || r.view()->hasFocus());
}

// Hovering over an object with its hint shown puts its short hint in the tooltip and its cursor
// on the page area; an object without a hint changes neither; an empty spot hides the tooltip
// and brings the hand back.
TEST(Preview, ObjectHintsAndCursors)
{
    ShownReport r(5, QSize(900, 700));
    auto *memo = static_cast<TfrxView *>(r.report.FindObject(QStringLiteral("Memo2")));
    ASSERT_TRUE(memo);
    memo->SetHint(QStringLiteral("Пробег до начала периода|по показаниям одометра"));
    memo->SetShowHint(true);
    memo->SetCursor(-4);
    r.show();

    // Centres of the memo and of its neighbour without a hint, in view pixels.
    const TfrxReportPage *page = frxPreviewPages(r.report).PageAt(0);
    const QPointF printable =
        QPointF(r.pageInView(0).topLeft()) + QPointF(page->LeftMargin() * fr01cm, page->TopMargin() * fr01cm);
    const auto centreOf = [&](const char *name) {
        const TfrxComponent *object = page->FindObject(QString::fromLatin1(name));
        return (printable + QPointF(object->AbsLeft() + object->Width() / 2, object->AbsTop() + object->Height() / 2))
            .toPoint();
    };

    QTest::mouseMove(r.view(), centreOf("Memo2"));
    EXPECT_EQ(r.view()->toolTip(), QStringLiteral("Пробег до начала периода"));
    EXPECT_EQ(r.view()->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseMove(r.view(), centreOf("Memo4"));
    EXPECT_EQ(r.view()->toolTip(), QStringLiteral("Пробег до начала периода"));
    EXPECT_EQ(r.view()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(r.view(), QPoint(r.pageInView(0).left() + 30, r.view()->height() - 30));
    EXPECT_TRUE(r.view()->toolTip().isEmpty());
    EXPECT_EQ(r.view()->cursor().shape(), Qt::PointingHandCursor);
}

// While the engine prepares a long report the page area paints, each time with the pages added
// so far; at the end every page is placed.
TEST(Preview, PagesAppearWhileBeingPrepared)
{
    ShownReport r(600, QSize(900, 700));
    PaintWatch watch(r.preview);
    r.show();
    const int pages = frxPreviewPages(r.report).Count();
    ASSERT_GT(pages, 10);
    EXPECT_EQ(r.area().PageList().Count(), pages);
    EXPECT_FALSE(r.preview.Running());
    ASSERT_FALSE(watch.placedWhilePreparing.empty());
    EXPECT_GE(watch.placedWhilePreparing.front(), 1);
    EXPECT_LT(watch.placedWhilePreparing.front(), pages);
    EXPECT_TRUE(std::is_sorted(watch.placedWhilePreparing.begin(), watch.placedWhilePreparing.end()));

    if (const QByteArray shot = qgetenv("VORNAK_PREVIEW_SHOT"); !shot.isEmpty())
        r.preview.grab().save(QString::fromLocal8Bit(shot));
}

// Locking (for a print) paints the background at once, before any event is processed.
TEST(Preview, LockingPaintsTheBackgroundAtOnce)
{
    ShownReport r(5, QSize(900, 700));
    r.show();
    int paints = 0;
    struct Count : QObject {
        int &paints;
        explicit Count(int &p)
            : paints(p)
        {
        }
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } count(paints);
    r.view()->installEventFilter(&count);
    r.preview.Lock();
    EXPECT_EQ(paints, 1);
    r.view()->removeEventFilter(&count);
}

// Preparing again in place (after printing) keeps the current page and the scroll position.
TEST(Preview, RefreshReportKeepsPageAndPosition)
{
    ShownReport r(100, QSize(900, 700));
    r.show();
    ASSERT_EQ(r.preview.PageCount(), 3);
    r.preview.SetPageNo(2);
    r.area().SetScrollPosition(r.area().ScrollPosition() + QPoint(40, 300));
    const QPoint position = r.area().ScrollPosition();
    const int page = r.preview.PageNo();

    r.preview.RefreshReport();
    EXPECT_EQ(r.preview.PageCount(), 3);
    EXPECT_EQ(r.area().PageList().Count(), 3);
    EXPECT_EQ(r.preview.PageNo(), page);
    EXPECT_EQ(r.area().ScrollPosition(), position);
    EXPECT_FALSE(r.area().Locked);
    EXPECT_FALSE(r.preview.Running());
}
