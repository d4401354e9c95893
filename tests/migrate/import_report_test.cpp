// The period report of an imported old log book is the report of the same rows entered directly:
// the sample old log book is imported with `vornak-db import`, and its rows are also entered
// into a new log book through the dialect's INSERT statements (dates as the regional date and
// time texts the program takes); `vornak-db report --pdf` of both must print the same text.
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/sql_literal.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"

#include <gtest/gtest.h>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace vornak;
using namespace vornak::testing;

namespace {

// A value as a literal of the dialect.
QString literal(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        return QStringLiteral("NULL");
    case Variant::Type::Integer:
    case Variant::Type::Int64:
        return sql_literal::integer(value.toInt64());
    case Variant::Type::DateTime:
        return sql_literal::apostropheText(date_time::toText(value.toDouble()));
    case Variant::Type::String:
        return sql_literal::apostropheText(value.toString());
    default:
        return sql_literal::number(value.toDouble());
    }
}

// Every row of `file`, keys included, through the program's connection and dialect.
void enterDirectly(const JetFileContents &file, Connection &db)
{
    for (const JetTableContents &table : file.tables) {
        QStringList names;
        for (const JetColumnDeclaration &column : table.columns)
            names.append(column.name);
        for (const QList<Variant> &row : table.rows) {
            QStringList values;
            for (const Variant &value : row)
                values.append(literal(value));
            db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table.name, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
        }
    }
}

// The text of the period report of `logBook`, page by page; empty when it failed.
QString reportText(const QString &logBook, const QString &vehicle, const QString &from, const QString &to)
{
    const QString pdf = logBook + QStringLiteral(".pdf");
    const ToolRun report =
        runTool({QStringLiteral("report"), logBook, QStringLiteral("--vehicle"), vehicle, QStringLiteral("--from"),
                 from, QStringLiteral("--to"), to, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(report.exitCode, 0) << report.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(30000));
    QFile::remove(pdf);
    return QString::fromUtf8(text.readAllStandardOutput());
}

TEST(Import, ThePeriodReportOfImportedRowsIsTheOneOfTheSameRowsEnteredDirectly)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const JetFileContents file = sampleOldLogBook();
    QTemporaryDir dir;
    const QString imported = dir.filePath(QStringLiteral("imported.mdb"));
    ASSERT_TRUE(writeFileContents(dir.filePath(QStringLiteral("old.mdb")), writeJet4(file)));
    const ToolRun run = runTool({QStringLiteral("import"), dir.filePath(QStringLiteral("old.mdb")), imported});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    TempDatabase direct;
    enterDirectly(file, *direct.open());

    // Лада Гранта: readings of every time of day, an expense of a deleted type, one at 23:59:59;
    // Renault Logan: a type key 0; УАЗ: a period from before 1900 (its negative sum is left out).
    const struct {
        const char *vehicle, *from, *to;
        const char *shows;  // a figure the report must hold, to show it is not empty
    } cases[] = {
        {"Лада Гранта", "2019-04-01", "2019-12-31", "1822,5"},
        {"Лада Гранта", "2019-04-20", "2019-05-01", "2349,99"},
        {"2", "2021-09-01", "2021-09-30", "1790,25"},
        {"3", "1800-01-01", "2030-12-31", "4642"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.vehicle) + " " + c.from + " " + c.to);
        const auto report = [&](const QString &logBook) {
            return reportText(logBook, QString::fromUtf8(c.vehicle), QString::fromLatin1(c.from),
                              QString::fromLatin1(c.to));
        };
        const QString expected = report(direct.path());
        EXPECT_TRUE(expected.contains(QString::fromUtf8(c.shows))) << expected.toStdString();
        EXPECT_EQ(report(imported).toStdString(), expected.toStdString());
    }
}

}  // namespace
