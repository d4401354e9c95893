#include "data/data_set.h"
#include "platform/errors.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

// Four vehicles A to D in a table with a calculated field, one data source with recording
// handlers and a recording grid link of two rows.
struct NotificationFixture {
    QStringList log;
    LogBookFile file;
    VehicleTable vehicles{file.connection};
    TStringField *label;
    TDataSource source;
    RecordingLink grid{log, QStringLiteral("grid"), true, 2};

    explicit NotificationFixture(const QStringList &names = {QStringLiteral("A"), QStringLiteral("B"),
                                                             QStringLiteral("C"), QStringLiteral("D")})
    {
        file.addVehicles(names);
        label = vehicles.table.AddField<TStringField>(QStringLiteral("label"), fkCalculated);
        vehicles.table.OnCalcFields = [this](TDataSet *) { label->SetAsString(vehicles.nameauto->AsString() + u'*'); };
        source.SetDataSet(&vehicles.table);
        recordHandlers(source, log);
        grid.SetDataSource(&source);
    }
    TADOTable &table() { return vehicles.table; }
    QString current() { return vehicles.nameauto->AsString(); }
};

struct NotificationCase {
    const char *name;
    QStringList names;                                 // the table's rows
    std::function<void(NotificationFixture &)> setUp;  // after Open, before the log is cleared
    std::function<void(NotificationFixture &)> operation;
    QStringList expected;
    const char *currentAfter;
};

const QStringList oneVehicle = {QStringLiteral("A")};
const QStringList fourVehicles = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};

void noSetUp(NotificationFixture &) {}

QStringList events(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

const std::vector<NotificationCase> &cases()
{
    static const std::vector<NotificationCase> table = {
        {"Open", fourVehicles, [](NotificationFixture &f) { f.table().Close(); },
         [](NotificationFixture &f) { f.table().Open(); },
         events({"grid.ActiveChanged", "OnStateChange", "OnDataChange(nil)"}), "A"},
        {"Close", fourVehicles, noSetUp, [](NotificationFixture &f) { f.table().Close(); },
         events({"grid.ActiveChanged", "OnStateChange"}), ""},
        {"NextWithinWindow", fourVehicles, noSetUp, [](NotificationFixture &f) { f.table().Next(); },
         events({"grid.DataSetScrolled(0)", "OnDataChange(nil)"}), "B"},
        {"NextPastWindow", fourVehicles, [](NotificationFixture &f) { f.table().Next(); },
         [](NotificationFixture &f) { f.table().Next(); }, events({"grid.DataSetScrolled(1)", "OnDataChange(nil)"}),
         "C"},
        {"MoveByPastWindow", fourVehicles, noSetUp, [](NotificationFixture &f) { EXPECT_EQ(f.table().MoveBy(3), 3); },
         events({"grid.DataSetScrolled(2)", "OnDataChange(nil)"}), "D"},
        {"PriorBackIntoWindow", fourVehicles, [](NotificationFixture &f) { f.table().Last(); },
         [](NotificationFixture &f) {
             f.table().Prior();
             f.table().Prior();
         },
         events({"grid.DataSetScrolled(0)", "OnDataChange(nil)", "grid.DataSetScrolled(-1)", "OnDataChange(nil)"}),
         "B"},
        {"NextAtEnd",
         fourVehicles,
         [](NotificationFixture &f) { f.table().Last(); },
         [](NotificationFixture &f) { EXPECT_EQ(f.table().MoveBy(1), 0); },
         {},
         "D"},
        {"PriorAtBeginning",
         fourVehicles,
         noSetUp,
         [](NotificationFixture &f) { EXPECT_EQ(f.table().MoveBy(-1), 0); },
         {},
         "A"},
        {"First", fourVehicles, [](NotificationFixture &f) { f.table().Last(); },
         [](NotificationFixture &f) { f.table().First(); }, events({"grid.DataSetChanged", "OnDataChange(nil)"}), "A"},
        {"Last", fourVehicles, noSetUp, [](NotificationFixture &f) { f.table().Last(); },
         events({"grid.DataSetChanged", "OnDataChange(nil)"}), "D"},
        {"Edit", fourVehicles, noSetUp, [](NotificationFixture &f) { f.table().Edit(); },
         events({"grid.EditingChanged", "OnStateChange", "grid.RecordChanged(nil)", "OnDataChange(nil)"}), "A"},
        {"AssignWithCalculatedField", fourVehicles, [](NotificationFixture &f) { f.table().Edit(); },
         [](NotificationFixture &f) { f.vehicles.nameauto->SetAsString(QStringLiteral("Z")); },
         events({"grid.RecordChanged(label)", "OnDataChange(label)", "grid.RecordChanged(nameauto)",
                 "OnDataChange(nameauto)"}),
         "Z"},
        {"PostEdit", fourVehicles,
         [](NotificationFixture &f) {
             f.table().Edit();
             f.vehicles.beginkm->SetAsInteger(5);
         },
         [](NotificationFixture &f) { f.table().Post(); },
         events({"grid.UpdateData", "OnUpdateData", "grid.CheckBrowseMode", "grid.EditingChanged", "OnStateChange",
                 "grid.DataSetChanged", "OnDataChange(nil)"}),
         "A"},
        {"Cancel", fourVehicles, [](NotificationFixture &f) { f.table().Edit(); },
         [](NotificationFixture &f) { f.table().Cancel(); },
         events({"grid.CheckBrowseMode", "grid.EditingChanged", "OnStateChange", "grid.DataSetChanged",
                 "OnDataChange(nil)"}),
         "A"},
        {"Insert", fourVehicles, [](NotificationFixture &f) { f.table().Next(); },
         [](NotificationFixture &f) { f.table().Insert(); },
         events({"grid.EditingChanged", "OnStateChange", "grid.DataSetChanged", "OnDataChange(nil)"}), ""},
        {"EditOnEmptyInserts",
         {},
         noSetUp,
         [](NotificationFixture &f) { f.table().Edit(); },
         events({"grid.EditingChanged", "OnStateChange", "grid.DataSetChanged", "OnDataChange(nil)"}),
         ""},
        {"DeleteLast", fourVehicles, [](NotificationFixture &f) { f.table().Last(); },
         [](NotificationFixture &f) { f.table().Delete(); },
         events({"grid.CheckBrowseMode", "grid.DataSetChanged", "OnDataChange(nil)"}), "C"},
        {"DeleteOnly", oneVehicle, noSetUp, [](NotificationFixture &f) { f.table().Delete(); },
         events({"grid.CheckBrowseMode", "grid.DataSetChanged", "OnDataChange(nil)"}), ""},
        {"NextInEditWithoutChangeCancels", fourVehicles, [](NotificationFixture &f) { f.table().Edit(); },
         [](NotificationFixture &f) { f.table().Next(); },
         events({"grid.UpdateData", "OnUpdateData", "grid.CheckBrowseMode", "grid.EditingChanged", "OnStateChange",
                 "grid.DataSetChanged", "OnDataChange(nil)", "grid.DataSetScrolled(0)", "OnDataChange(nil)"}),
         "B"},
        {"NextInEditWithChangePosts", fourVehicles,
         [](NotificationFixture &f) {
             f.table().Edit();
             f.vehicles.beginkm->SetAsInteger(7);
         },
         [](NotificationFixture &f) { f.table().Next(); },
         events({"grid.UpdateData", "OnUpdateData", "grid.UpdateData", "OnUpdateData", "grid.CheckBrowseMode",
                 "grid.EditingChanged", "OnStateChange", "grid.DataSetChanged", "OnDataChange(nil)",
                 "grid.DataSetScrolled(0)", "OnDataChange(nil)"}),
         "B"},
        {"DisabledControls", fourVehicles, noSetUp,
         [](NotificationFixture &f) {
             f.table().DisableControls();
             f.table().DisableControls();
             f.table().Next();
             f.table().Edit();
             f.table().EnableControls();
             EXPECT_TRUE(f.log.isEmpty());
             f.table().EnableControls();
         },
         events({"grid.EditingChanged", "OnStateChange", "grid.DataSetChanged", "OnDataChange(nil)"}), "B"},
    };
    return table;
}

class NotificationOrder : public ::testing::TestWithParam<NotificationCase> {};

TEST_P(NotificationOrder, SendsTheDocumentedSequence)
{
    const NotificationCase &c = GetParam();
    NotificationFixture f(c.names);
    f.table().Open();
    c.setUp(f);
    f.log.clear();
    c.operation(f);
    EXPECT_EQ(f.log.join(u'\n'), c.expected.join(u'\n'));
    EXPECT_EQ(f.current(), QString::fromUtf8(c.currentAfter));
}

INSTANTIATE_TEST_SUITE_P(Operations, NotificationOrder, ::testing::ValuesIn(cases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(NotificationOrder, OtherLinksBeforeVisualControlsMostRecentFirst)
{
    NotificationFixture f;
    RecordingLink reportSource(f.log, QStringLiteral("report"), false);
    RecordingLink editBox(f.log, QStringLiteral("edit"), true);
    RecordingLink lookup(f.log, QStringLiteral("lookup"), false);
    reportSource.SetDataSource(&f.source);
    editBox.SetDataSource(&f.source);
    lookup.SetDataSource(&f.source);
    f.table().Open();
    EXPECT_EQ(f.log, events({"lookup.ActiveChanged", "report.ActiveChanged", "edit.ActiveChanged", "grid.ActiveChanged",
                             "OnStateChange", "OnDataChange(nil)"}));
    f.log.clear();
    f.table().Next();
    EXPECT_EQ(f.log, events({"lookup.DataSetScrolled(1)", "report.DataSetScrolled(1)", "edit.DataSetScrolled(1)",
                             "grid.DataSetScrolled(0)", "OnDataChange(nil)"}));
}

TEST(NotificationOrder, LinkWindowsFollowTheCurrentRecord)
{
    NotificationFixture f(
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")});
    RecordingLink wide(f.log, QStringLiteral("wide"), true, 3);
    wide.SetDataSource(&f.source);
    f.table().Open();
    EXPECT_EQ(f.table().BufferCount(), 3);
    f.table().MoveBy(3);  // D: the window holds B, C, D
    EXPECT_EQ(wide.RecordCount(), 3);
    EXPECT_EQ(wide.ActiveRecord(), 2);
    EXPECT_EQ(f.grid.ActiveRecord(), 1);
    f.grid.SetActiveRecord(0);
    EXPECT_EQ(f.current(), QStringLiteral("C"));
    f.grid.SetActiveRecord(1);

    // Dropping the wide link shrinks the window to the grid's two rows around the current record.
    wide.SetDataSource(nullptr);
    EXPECT_EQ(f.table().BufferCount(), 2);
    EXPECT_EQ(f.grid.RecordCount(), 2);
    f.grid.SetActiveRecord(0);
    EXPECT_EQ(f.current(), QStringLiteral("C"));
}

TEST(NotificationOrder, FieldWrittenByTheWritingLinkDoesNotEchoBackToIt)
{
    NotificationFixture f;
    RecordingLink editBox(f.log, QStringLiteral("edit"), true);
    editBox.SetDataSource(&f.source);
    editBox.onUpdateData = [&] { f.vehicles.beginkm->SetAsString(QStringLiteral("42")); };
    f.table().Open();
    f.table().Edit();
    f.log.clear();
    f.table().Post();
    EXPECT_EQ(f.log,
              events({"edit.UpdateData", "grid.RecordChanged(label)", "OnDataChange(label)",
                      "grid.RecordChanged(beginkm)", "OnDataChange(beginkm)", "grid.UpdateData", "OnUpdateData",
                      "edit.CheckBrowseMode", "grid.CheckBrowseMode", "edit.EditingChanged", "grid.EditingChanged",
                      "OnStateChange", "edit.DataSetChanged", "grid.DataSetChanged", "OnDataChange(nil)"}));
    EXPECT_EQ(f.vehicles.beginkm->AsInteger(), 42);
}

}  // namespace

namespace {

TEST(NotificationOrder, LinkAsksToEditOnlyWhenAllowed)
{
    NotificationFixture f;
    RecordingLink editBox(f.log, QStringLiteral("edit"), true);
    editBox.SetDataSource(&f.source);
    EXPECT_FALSE(editBox.Edit());  // closed
    f.table().Open();
    editBox.SetReadOnly(true);
    EXPECT_FALSE(editBox.Edit());
    editBox.SetReadOnly(false);
    f.source.AutoEdit = false;
    EXPECT_FALSE(editBox.Edit());
    EXPECT_EQ(f.table().State(), dsBrowse);
    f.source.AutoEdit = true;
    EXPECT_TRUE(editBox.Edit());
    EXPECT_EQ(f.table().State(), dsEdit);
    editBox.SetReadOnly(true);
    EXPECT_FALSE(editBox.Editing());

    // A disabled data source is inactive: its links and handlers hear nothing.
    f.table().Cancel();
    f.source.SetEnabled(false);
    EXPECT_FALSE(f.grid.Active());
    f.log.clear();
    f.table().Next();
    EXPECT_TRUE(f.log.isEmpty());
}

}  // namespace
