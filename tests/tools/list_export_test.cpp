// vornak-db export read back by a real CSV reader, and the report command's refusals.
#include "platform/date_time.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <gtest/gtest.h>
#include <limits>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QString awkward = QStringLiteral("Заправка \"до полного\",\r\nчек № 5\nи \"ещё\"");

// Нива "Тайга", 4x4 with one expense whose description is awkward; Волга with one plain expense.
void fill(const TempDatabase &file)
{
    auto db = SqlCipherConnection::open(file.path(), log_book::password);
    const auto run = [&](const char *sql, const QList<Variant> &values) {
        db->runStatement(QString::fromUtf8(sql), values);
    };
    const Variant day = Variant::fromDateTime(date_time::encode(QDate(2011, 11, 5)));
    run("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (?, 900, ?)",
        {Variant(QStringLiteral("Нива \"Тайга\", 4x4")), day});
    run("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Волга', 0, ?)", {day});
    run("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Бензин, АИ-95')", {});
    run("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) VALUES (1, 1, ?, 40.5, 2500.75, ?)",
        {day, Variant(awkward)});
    run("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) VALUES (1, 2, ?, 1, 3, 'мойка')",
        {Variant::fromDateTime(date_time::encode(QDate(2011, 11, 6), QTime(18, 30)))});
}

// The rows a CSV reader finds in `csv`.
QList<QStringList> readCsv(const QString &python, const QByteArray &csv)
{
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, io, json, sys\n"
                                         "text = io.TextIOWrapper(sys.stdin.buffer, encoding='utf-8', newline='')\n"
                                         "print(json.dumps(list(csv.reader(text, strict=True))))")});
    reader.write(csv);
    reader.closeWriteChannel();
    reader.waitForFinished(30000);
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(reader.readAllStandardOutput()).array())
        rows.append(row.toVariant().toStringList());
    return rows;
}

TEST(ListExport, ACsvReaderReadsBackQuotesCommasLineBreaksAndCyrillic)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    TempDatabase file;
    fill(file);
    const QStringList expenseHeader = {"id", "idauto", "idtype", "datedoc", "kolvo", "summa", "typename", "opisanie"};
    struct Case {
        QStringList args;
        QList<QStringList> rows;
    };
    const Case cases[] = {
        {{"expenses"},
         {expenseHeader,
          {"1", "1", "1", "2011-11-05", "40.5", "2500.75", "Бензин, АИ-95", awkward},
          {"2", "2", "1", "2011-11-06T18:30:00", "1", "3", "Бензин, АИ-95", "мойка"}}},
        {{"expenses", "--vehicle", "Волга"},
         {expenseHeader, {"2", "2", "1", "2011-11-06T18:30:00", "1", "3", "Бензин, АИ-95", "мойка"}}},
        {{"vehicles", "--vehicle", "1"},
         {{"id", "nameauto", "beginkm", "begindate"}, {"1", "Нива \"Тайга\", 4x4", "900", "2011-11-05"}}},
        {{"expense-types"}, {{"id", "opisanie"}, {"1", "Бензин, АИ-95"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QProcess tool;
        tool.start(QStringLiteral(VORNAK_DB_PATH), QStringList{QStringLiteral("export"), file.path()} + c.args);
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        const QByteArray csv = tool.readAllStandardOutput();
        EXPECT_TRUE(csv.startsWith(c.rows[0].join(u',').toUtf8() + "\r\n")) << "a header row ended with CR LF";
        EXPECT_EQ(readCsv(python, csv), c.rows);
    }
}

TEST(ListExport, AnUnknownListOrVehicleIsRefused)
{
    TempDatabase file;
    fill(file);
    file.open()->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES (\"Волга\", 0)"));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"fuel"}, "There is no list 'fuel'; the lists are: vehicles, readings, expenses, events, expense-types.\n"},
        {{"readings", "--vehicle", "Лада"}, "No vehicle is named or numbered 'Лада'.\n"},
        {{"events", "--vehicle", "Волга"}, "2 vehicles are named 'Волга': give the vehicle's number instead.\n"},
        {{"expense-types", "--vehicle", "Волга"}, "The list 'expense-types' belongs to no vehicle.\n"},
    };
    for (const auto &c : cases) {
        const ToolRun run = runTool(QStringList{QStringLiteral("export"), file.path()} + c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, QString());
    }
}

// A hostile file holding dates that name none: the export gives empty fields where the grids
// show empty cells, and check names each value with its table, column and key.
TEST(ListExport, DatesOutsideTheCalendarAreEmptyFieldsAndCheckNamesThem)
{
    TempDatabase file;
    {
        auto db = SqlCipherConnection::open(file.path(), log_book::password);
        const double inf = std::numeric_limits<double>::infinity();
        for (const double days : {date_time::firstDay, date_time::lastDay + 0.5, date_time::lastDay + 1, 1e300, -inf})
            db->runStatement(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('x', 0, ?)"),
                             {Variant(days)});
        db->runStatement(QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage) "
                                        "VALUES (1, 0, 0, ?, 0)"),
                         {Variant(inf)});
    }
    const ToolRun exported = runTool({QStringLiteral("export"), file.path(), QStringLiteral("vehicles")});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, QStringLiteral("id,nameauto,beginkm,begindate\r\n1,x,0,0001-01-01\r\n"
                                           "2,x,0,9999-12-31T12:00:00\r\n3,x,0,\r\n4,x,0,\r\n5,x,0,\r\n"));

    const ToolRun check = runTool({QStringLiteral("check"), file.path()});
    EXPECT_EQ(check.exitCode, 1);
    const QString range = QStringLiteral("which is no date from 0001-01-01 to 9999-12-31.\n");
    EXPECT_EQ(check.out, QStringLiteral("SPR_AUTO.begindate of id 3 holds 2958466, ") + range +
                             QStringLiteral("SPR_AUTO.begindate of id 4 holds 1e+300, ") + range +
                             QStringLiteral("SPR_AUTO.begindate of id 5 holds -inf, ") + range +
                             QStringLiteral("DOC_EVENTS.datedoc of id 1 holds inf, ") + range);
}

// A request that cannot be carried out fails at once with a message, and leaves no file behind.
TEST(PeriodReportPdf, BadRequestsFailWithAMessageAndLeaveNoFile)
{
    TempDatabase file;
    fill(file);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("card.pdf"));
    const QString nowhere = out.filePath(QStringLiteral("no/such/folder/card.pdf"));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--vehicle", "Лада", "--from", "2011-11-01", "--to", "2011-11-30", "--pdf", pdf},
         "No vehicle is named or numbered 'Лада'.\n"},
        {{"--vehicle", "Волга", "--from", "2011-11-31", "--to", "2011-11-30", "--pdf", pdf},
         "'2011-11-31' is not a date: write it as 2026-11-01 or 01.11.2026.\n"},
        {{"--vehicle", "Волга", "--from", "-2026-01-01", "--to", "2011-11-30", "--pdf", pdf},
         "'-2026-01-01' is not a date: write it as 2026-11-01 or 01.11.2026.\n"},
        {{"--vehicle", "Волга", "--from", "2011-11-01", "--to", "01.01.0000", "--pdf", pdf},
         "'01.01.0000' is not a date: write it as 2026-11-01 or 01.11.2026.\n"},
        {{"--vehicle", "Волга", "--from", "01.12.2011", "--to", "2011-11-30", "--pdf", pdf},
         "The period ends before it begins.\n"},
        {{"--vehicle", "Волга", "--from", "2011-11-01", "--to", "2011-11-30", "--pdf", nowhere},
         QStringLiteral("The folder '%1' does not exist.\n").arg(out.filePath(QStringLiteral("no/such/folder")))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const ToolRun run = runTool(QStringList{QStringLiteral("report"), file.path()} + c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(c.message)) << run.err.toStdString();
        EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // By number, with the regional date form: a PDF whole.
    const ToolRun run = runTool({QStringLiteral("report"), file.path(), QStringLiteral("--vehicle"),
                                 QStringLiteral("2"), QStringLiteral("--from"), QStringLiteral("01.11.2011"),
                                 QStringLiteral("--to"), QStringLiteral("30.11.2011"), QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
}

}  // namespace
