// The record window of a dataset as one table: for a window capacity (the links' buffer
// counts), a start record and a move, the records the window holds afterwards, where each
// link's rows begin in it and what each link was sent.
#include "data/data_set.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

struct WindowCase {
    const char *name;
    std::vector<int> linkBuffers;  // one link per entry, named l0, l1, ...; the window is the largest
    int startRow;                  // reached by First and MoveBy
    int move;                      // then MoveBy(move)...
    int resizeFirstLinkTo;         // ...and, when not 0, the first link's buffer count changed
    const char *window;            // the window's records, the current one in brackets
    std::vector<int> firstRecords;
    QStringList sent;  // what the links heard during the move and the resize
};

// Six vehicles A to F.
const std::vector<WindowCase> &cases()
{
    static const std::vector<WindowCase> table = {
        {"OneBufferMovesByReplacing", {1}, 0, 1, 0, "[B]", {0}, {"l0.DataSetScrolled(1)"}},
        {"WithinTheWindow", {3}, 0, 1, 0, "A [B] C", {0}, {"l0.DataSetScrolled(0)"}},
        {"ForwardPastTheWindow", {3}, 0, 3, 0, "B C [D]", {0}, {"l0.DataSetScrolled(1)"}},
        {"BackwardPastTheWindow", {3}, 5, -4, 0, "[B] C D", {0}, {"l0.DataSetScrolled(-2)"}},
        {"ForwardStopsAtTheEnd", {3}, 4, 5, 0, "D E [F]", {0}, {"l0.DataSetScrolled(1)"}},
        {"BackwardStopsAtTheBeginning", {3}, 1, -5, 0, "[A] B C", {0}, {"l0.DataSetScrolled(0)"}},
        {"NoMoveAtTheEndSendsNothing", {3}, 5, 1, 0, "D E [F]", {0}, {}},
        // The most recently attached link hears first.
        {"NarrowLinkFollowsTheCurrentRecord",
         {2, 4},
         0,
         4,
         0,
         "B C D [E]",
         {2, 0},
         {"l1.DataSetScrolled(1)", "l0.DataSetScrolled(3)"}},
        {"NarrowLinkBackward",
         {2, 4},
         5,
         -4,
         0,
         "[B] C D E",
         {0, 0},
         {"l1.DataSetScrolled(-1)", "l0.DataSetScrolled(-3)"}},
        // The window fetches the earlier records, but the link's rows still start at D: it shows
        // D, E, F and two empty rows until the next move.
        {"GrowingAtTheEndFetchesEarlierRecords", {3}, 5, 0, 5, "B C D E [F]", {2}, {}},
        {"GrowingAtTheStartFetchesLaterRecords", {3}, 0, 0, 5, "[A] B C D E", {0}, {}},
        {"ShrinkingKeepsTheCurrentRecord", {5}, 3, 0, 2, "C [D]", {0}, {}},
        {"ShrinkingAtTheStart", {5}, 0, 0, 2, "[A] B", {0}, {}},
        {"ShrinkingOneOfTwoLinks", {5, 3}, 4, 0, 1, "C D [E]", {2, 0}, {}},
    };
    return table;
}

struct WindowFixture {
    QStringList log;
    LogBookFile file;
    VehicleTable vehicles{file.connection};
    TDataSource source;
    std::vector<std::unique_ptr<RecordingLink>> links;

    explicit WindowFixture(const std::vector<int> &linkBuffers)
    {
        file.addVehicles({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                          QStringLiteral("E"), QStringLiteral("F")});
        source.SetDataSet(&vehicles.table);
        for (int buffers : linkBuffers) {
            links.push_back(
                std::make_unique<RecordingLink>(log, QStringLiteral("l%1").arg(links.size()), true, buffers));
            links.back()->SetDataSource(&source);
        }
    }

    // The window's records, the current one in brackets; reading leaves the current record.
    QString window()
    {
        TDataSet &table = vehicles.table;
        const int current = table.ActiveRecord();
        QStringList names;
        for (int i = 0; i < table.WindowRecordCount(); ++i) {
            table.SetActiveRecord(i);
            const QString name = vehicles.nameauto->AsString();
            names.append(i == current ? u'[' + name + u']' : name);
        }
        table.SetActiveRecord(current);
        return names.join(u' ');
    }
};

void PrintTo(const WindowCase &c, std::ostream *out)
{
    *out << c.name;
}

class RecordWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(RecordWindow, HoldsTheRecordsAroundTheCurrentOneAndTellsEachLink)
{
    const WindowCase &c = GetParam();
    WindowFixture f(c.linkBuffers);
    TDataSet &table = f.vehicles.table;
    table.Open();
    table.MoveBy(c.startRow);
    f.log.clear();
    table.MoveBy(c.move);
    if (c.resizeFirstLinkTo != 0)
        f.links.front()->SetBufferCount(c.resizeFirstLinkTo);
    EXPECT_EQ(f.window().toStdString(), c.window);
    std::vector<int> firstRecords;
    for (const auto &link : f.links)
        firstRecords.push_back(link->FirstRecord());
    EXPECT_EQ(firstRecords, c.firstRecords);
    f.log.removeIf([](const QString &entry) { return !entry.contains(u"Scrolled") && !entry.contains(u"Changed"); });
    EXPECT_EQ(f.log.join(u", ").toStdString(), c.sent.join(u", ").toStdString());
}

INSTANTIATE_TEST_SUITE_P(Moves, RecordWindow, ::testing::ValuesIn(cases()),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
