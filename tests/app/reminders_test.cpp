// When a planned event is due, asked three ways of one table of cases: the rule itself, the
// events list's drawing (dark red text when overdue, bold when due soon) and `vornak-db reminders`.
// Today is the real date here, so that the command in its own process agrees with the window.
#include "data/reminders.h"
#include "grid/db_grid_eh.h"
#include "platform/date_time.h"
#include "tests/app/main_window_session.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QTabWidget>

using namespace vornak;
using namespace vornak::testing;
using reminders::Due;

namespace {

constexpr qint64 highest = 50000;  // the vehicle's highest reading (its entries: 49000, 50000)

struct Case {
    const char *name;
    int kind;
    int status;
    int dayOffset;  // the event's date, from today
    int mileage;
    Due expected;
};

const Case cases[] = {
    {"date passed", reminders::byDate, 0, -1, 0, Due::Overdue},
    {"date today", reminders::byDate, 0, 0, 0, Due::Soon},
    {"date in 14 days", reminders::byDate, 0, 14, 0, Due::Soon},
    {"date in 15 days", reminders::byDate, 0, 15, 0, Due::None},
    {"date passed, finished", reminders::byDate, 1, -30, 0, Due::None},
    {"by date: a mileage passed does not count", reminders::byDate, 0, 100, 100, Due::None},
    {"mileage reached", reminders::byMileage, 0, 1, 50000, Due::Overdue},
    {"mileage passed", reminders::byMileage, 0, 2, 49000, Due::Overdue},
    {"mileage 1000 km ahead", reminders::byMileage, 0, 3, 51000, Due::Soon},
    {"mileage 1001 km ahead", reminders::byMileage, 0, 4, 51001, Due::None},
    {"mileage passed, finished", reminders::byMileage, 1, 5, 40000, Due::None},
    {"by mileage: a date passed does not count", reminders::byMileage, 0, -10, 60000, Due::None},
};

QString eventRow(const Case &c, const QDate &today)
{
    return QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage, opisanie) "
                          "VALUES (1, %1, %2, %3, %4, 'ТО')")
        .arg(c.kind)
        .arg(c.status)
        .arg(date_time::encode(today.addDays(c.dayOffset)))
        .arg(c.mileage);
}

// What a cell of the list shows: how many pixels are reddish, and how much ink there is in all
// (black or dark red on white leave the same green channel for the same coverage).
struct Ink {
    int red = 0;
    double any = 0;
};

Ink inkOf(const QImage &image, const QRect &cell)
{
    Ink ink;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ink.red += qRed(pixel) - qGreen(pixel) > 60 ? 1 : 0;
            ink.any += (255 - qGreen(pixel)) / 255.0;
        }
    return ink;
}

}  // namespace

TEST(Reminders, OneTableThroughTheRuleTheEventsListAndTheCommandLine)
{
    const QDate today = QDate::currentDate();
    QStringList setup = {
        QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 1000, 40000)"),
        QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES (45000, 1, 50000, 1000)"),
        QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES (45001, 1, 49000, 0)")};
    for (const Case &c : cases)
        setup.append(eventRow(c, today));
    MainWindowSession session(setup);
    FixedClock clock(QDateTime(today, QTime(12, 0)));

    // The rule.
    for (const Case &c : cases) {
        const reminders::PlannedEvent event{c.kind, c.status, today.addDays(c.dayOffset), c.mileage};
        EXPECT_EQ(reminders::due(event, today, highest), c.expected) << c.name;
    }
    // Nothing known of the vehicle's reading: no event by mileage is due; the reading at which
    // the records began counts when it is the highest.
    EXPECT_EQ(reminders::due({reminders::byMileage, 0, today, 10}, today, std::nullopt), Due::None);
    EXPECT_EQ(reminders::highestReading(std::nullopt, 900), 900);
    EXPECT_EQ(reminders::highestReading(800, 900), 900);

    // The events list: each row's description, all "ТО", drawn in the row's style.
    TMainForm &window = *session.window;
    window.resize(559, 700);
    ASSERT_EQ(window.PageControl1->currentWidget(), window.TabSheet7);
    TDBGridEh &grid = *window.DBGridEh8;
    TDataSet &events = *session.module->QueryDocEvents;
    QList<int> caseOfRow;
    for (events.First(); !events.Eof(); events.Next())
        caseOfRow.append(session.module->QueryDocEventsid->AsInteger() - 1);
    events.First();
    ASSERT_GE(grid.visibleDataRowCount(), int(std::size(cases)));
    QApplication::processEvents();
    const QImage image = grid.viewport()->grab().toImage();
    auto descriptionInk = [&](int row) {
        const int left = grid.columnLeft(4);
        return inkOf(image, QRect(left, grid.dataTop() + row * grid.rowPitch(), grid.columnLeft(5) - left - 1,
                                  grid.RowHeight()));
    };
    double plain = -1;
    for (int row = 0; row < caseOfRow.size(); ++row)
        if (cases[caseOfRow[row]].expected == Due::None)
            plain = descriptionInk(row).any;
    ASSERT_GT(plain, 0);
    for (int row = 0; row < caseOfRow.size(); ++row) {
        const Case &c = cases[caseOfRow[row]];
        const Ink ink = descriptionInk(row);
        EXPECT_EQ(ink.red > 0, c.expected == Due::Overdue) << c.name;
        EXPECT_NEAR(ink.any, plain, plain * 0.05) << c.name;
        // The weight the row is drawn in, as the list's drawing asks for it.
        events.First();
        events.MoveBy(row);
        QColor text;
        QFont font = grid.Font();
        grid.OnRowText(&grid, text, font);
        EXPECT_EQ(font.bold(), c.expected == Due::Soon) << c.name;
    }

    // The command line: one line per due event.
    QStringList expected;
    for (const Case &c : cases) {
        if (c.expected == Due::None)
            continue;
        const QString when = c.kind == reminders::byDate ? today.addDays(c.dayOffset).toString(Qt::ISODate)
                                                         : QStringLiteral("%1 км").arg(c.mileage);
        expected.append(QStringLiteral("Нива\t%1\tТО\t%2").arg(when, reminders::dueText(c.expected)));
    }
    const ToolRun run = runTool({QStringLiteral("reminders"), session.file.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList printed = run.out.split(u'\n', Qt::SkipEmptyParts);
    printed.sort();
    expected.sort();
    EXPECT_EQ(printed, expected);

    // Narrower limits leave only what is overdue or due today.
    const ToolRun narrow = runTool({QStringLiteral("reminders"), session.file.path(), QStringLiteral("--days"),
                                    QStringLiteral("0"), QStringLiteral("--km"), QStringLiteral("0")});
    EXPECT_EQ(narrow.out.count(QStringLiteral("скоро")), 1);
    EXPECT_EQ(narrow.out.count(QStringLiteral("просрочено")), 3);
    EXPECT_EQ(
        runTool({QStringLiteral("reminders"), session.file.path(), QStringLiteral("--days"), QStringLiteral("soon")})
            .exitCode,
        2);
}

TEST(Reminders, NothingDuePrintsNothing)
{
    TempDatabase empty;
    const ToolRun run = runTool({QStringLiteral("reminders"), empty.path()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QString());
}
