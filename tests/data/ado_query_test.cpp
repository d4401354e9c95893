#include "data/ado_query.h"
#include "data/sql_parameters.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

using namespace vornak;
using namespace vornak::testing;

namespace {

struct MileageQuery {
    LogBookFile file;
    TADOQuery query;

    MileageQuery()
    {
        for (int i = 1; i <= 3; ++i)
            file.execute(QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) "
                                        "VALUES ('0%1.03.2020', %2, %3, 10)")
                             .arg(i)
                             .arg(i == 3 ? 2 : 1)
                             .arg(i * 100));
        query.Name = QStringLiteral("QueryDocMileage");
        query.Connection = &file.connection;
        query.SQL.Add(QStringLiteral("select *  from DOC_MILEAGE"));
        query.SQL.Add(QStringLiteral("where IDAUTO = 1"));
        query.SQL.Add(QStringLiteral("order by DATEDOC"));
    }
};

TEST(QuerySql, EveryChangeOfTheLinesClosesTheQueryAndRenewsTheText)
{
    MileageQuery m;
    EXPECT_EQ(m.query.CommandText(),
              QStringLiteral("select *  from DOC_MILEAGE\r\nwhere IDAUTO = 1\r\norder by DATEDOC\r\n"));
    m.query.Open();
    EXPECT_EQ(m.query.RecordCount(), 2);
    m.query.SQL.Set(1, QStringLiteral("where IDAUTO = 2"));
    EXPECT_FALSE(m.query.Active());
    m.query.Open();
    EXPECT_EQ(m.query.RecordCount(), 1);
    EXPECT_EQ(m.query.FieldByName(QStringLiteral("tekprobeg"))->AsInteger(), 300);
    EXPECT_THROW(m.query.SQL.Set(3, QStringLiteral("x")), Error);
    m.query.Open();
    m.query.SQL.SetText(QStringLiteral("select *  from DOC_MILEAGE\nwhere IDAUTO = 1\r\n"));
    EXPECT_FALSE(m.query.Active());
    EXPECT_EQ(m.query.SQL.Count(), 2);
    EXPECT_EQ(m.query.CommandText(), QStringLiteral("select *  from DOC_MILEAGE\r\nwhere IDAUTO = 1\r\n"));
    m.query.Open();
    m.query.SQL.Clear();
    EXPECT_FALSE(m.query.Active());
    EXPECT_EQ(m.query.CommandText(), QString());
}

TEST(QuerySql, ParameterMarkersOutsideLiteralsBecomeQuestionMarks)
{
    struct Case {
        const char *sql;
        const char *engineText;
        QStringList names;
    };
    const std::vector<Case> cases = {
        {"select ':x' as a", "select ':x' as a", {}},
        {"select \"a :x b\", `:y` from t", "select \"a :x b\", `:y` from t", {}},
        {"where a = :x and b = :yy", "where a = ? and b = ?", {QStringLiteral("x"), QStringLiteral("yy")}},
        {"where a = :x)\tor b::c", "where a = ?\tor b::c", {QStringLiteral("x)")}},
        {"where t = '12:30' and c = :", "where t = '12:30' and c = :", {}},
    };
    for (const Case &c : cases) {
        const SqlParameterScan scan = scanSqlParameters(QString::fromUtf8(c.sql));
        EXPECT_EQ(scan.text, QString::fromUtf8(c.engineText)) << c.sql;
        EXPECT_EQ(scan.names, c.names) << c.sql;
    }

    MileageQuery m;
    m.query.SQL.Set(1, QStringLiteral("where IDAUTO = :vehicle"));
    EXPECT_EQ(m.query.Parameters(), QStringList{QStringLiteral("vehicle")});
    EXPECT_EQ(m.query.CommandText(),
              QStringLiteral("select *  from DOC_MILEAGE\r\nwhere IDAUTO = ?\r\norder by DATEDOC\r\n"));
    m.query.ParamCheck = false;
    m.query.SQL.Set(1, QStringLiteral("where datedoc > ':x'"));
    EXPECT_TRUE(m.query.Parameters().isEmpty());
    m.query.SQL.Clear();
    m.query.SQL.Add(QStringLiteral("select ':x' as a from DOC_MILEAGE"));
    m.query.Open();
    EXPECT_EQ(m.query.FieldByName(QStringLiteral("a"))->AsString(), QStringLiteral(":x"));
}

TEST(QueryExec, ReturnsRowsAffectedAndLeavesTheQueryClosed)
{
    MileageQuery m;
    m.query.Open();
    m.query.SQL.Clear();
    m.query.SQL.Add(QStringLiteral("UPDATE DOC_MILEAGE SET DOC_MILEAGE.raznica = 5 WHERE DOC_MILEAGE.idauto=1"));
    EXPECT_EQ(m.query.ExecSQL(), 2);
    EXPECT_FALSE(m.query.Active());

    m.query.SQL.Set(0, QStringLiteral("UPDATE DOC_MILEAGE SET raznica = = 5"));
    const QString text = m.query.SQL.Text();
    EXPECT_THROW(m.query.ExecSQL(), DatabaseError);
    EXPECT_FALSE(m.query.Active());
    EXPECT_EQ(m.query.SQL.Text(), text);
}

TEST(QueryOpen, StatementWithoutResultFailsAndStaysClosed)
{
    MileageQuery m;
    m.query.SQL.Clear();
    m.query.SQL.Add(QStringLiteral("DELETE DOC_MILEAGE.* FROM DOC_MILEAGE WHERE DOC_MILEAGE.id=1"));
    try {
        m.query.Open();
        FAIL();
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("QueryDocMileage: CommandText does not return a result set"));
    }
    EXPECT_FALSE(m.query.Active());
    m.query.SQL.Clear();
    m.query.SQL.Add(QStringLiteral("select count(*) as n from DOC_MILEAGE"));
    m.query.Open();
    EXPECT_EQ(m.query.FieldByName(QStringLiteral("n"))->AsInteger(), 3);
}

TEST(QuerySaveToFile, WritesTheLinesInTheEightBitCodePageWithCrLf)
{
    TempDatabase folder;
    TStringList lines;
    lines.Add(QStringLiteral("INSERT INTO DOC_EVENTS (opisanie) VALUES ('Замена масла №2')"));
    lines.Add(QStringLiteral("ёЁ"));
    const QString path = QDir(folder.folder()).filePath(QStringLiteral("ADOQuery1.txt"));
    QFile::remove(path);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(500, 'x'));
    }
    lines.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes,
              QByteArray("INSERT INTO DOC_EVENTS (opisanie) VALUES ('\xC7\xE0\xEC\xE5\xED\xE0 \xEC\xE0\xF1\xEB\xE0 \xB9"
                         "2')\r\n\xB8\xA8\r\n"));
    EXPECT_EQ(decodeAnsi(bytes), lines.Text());
    EXPECT_EQ(encodeAnsi(QStringLiteral("日")), QByteArray("?"));

    const QString missing = QDir(folder.folder()).filePath(QStringLiteral("no/such/folder/x.txt"));
    EXPECT_THROW(lines.SaveToFile(missing), Error);
    EXPECT_FALSE(QFile::exists(missing));
}

}  // namespace

namespace {

// Closing the connection closes its datasets first: none is left on a freed engine.
TEST(QueryConnection, ClosingOrFreeingTheConnectionClosesItsDataSets)
{
    MileageQuery m;
    m.query.Open();
    TADOQuery other;
    other.Connection = &m.file.connection;
    other.SQL.Add(QStringLiteral("select * from DOC_EVENTS"));
    other.Open();
    int closed = 0;
    m.query.AfterClose = [&](TDataSet *) { ++closed; };
    m.file.connection.Close();
    EXPECT_FALSE(m.query.Active());
    EXPECT_FALSE(other.Active());
    EXPECT_EQ(closed, 1);
    EXPECT_THROW(m.query.Delete(), DatabaseError);

    // Reopening connects again; freeing the connection closes the dataset and clears its link.
    m.query.Open();
    EXPECT_EQ(m.query.RecordCount(), 2);
    auto own = std::make_unique<TADOConnection>();
    own->ConnectionString = m.file.connection.ConnectionString;
    m.query.Close();
    m.query.Connection = own.get();
    m.query.Open();
    own.reset();
    EXPECT_FALSE(m.query.Active());
    EXPECT_EQ(m.query.Connection, nullptr);
    EXPECT_THROW(m.query.Open(), DatabaseError);
}

}  // namespace
