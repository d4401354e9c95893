// Files built with their page writes gathered (a new file used by one connection alone, a copy)
// read back whole under the default file layer, in runs longer and shorter than one piece.
#include "platform/sqlcipher_connection.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace vornak;

namespace {

const QString password = QStringLiteral("пароль");

// Writes `rows` rows of about 300 bytes each into a new table of `db`.
void fill(SqlCipherConnection &db, int rows)
{
    db.runStatement(QStringLiteral("CREATE TABLE t (n INTEGER, s TEXT)"), {});
    db.runStatement(QStringLiteral("BEGIN"), {});
    for (int n = 0; n < rows; ++n)
        db.runStatement(QStringLiteral("INSERT INTO t VALUES (?, ?)"),
                        {n, QString(150, QChar(u'а' + n % 32)) + QString::number(n)});
    db.runStatement(QStringLiteral("COMMIT"), {});
}

// What a connection under the default layer reads from the file at `path`.
void expectWhole(const QString &path, int rows)
{
    auto db = SqlCipherConnection::open(path, password, Access::ReadOnly);
    EXPECT_EQ(db->read(QStringLiteral("PRAGMA integrity_check"), {}).values.value(0).toString(), u"ok");
    const ResultData sums = db->read(QStringLiteral("SELECT count(*), sum(n), sum(length(s)) FROM t"), {});
    ASSERT_EQ(sums.values.size(), 3);
    EXPECT_EQ(sums.values[0].toInt64(), rows);
    EXPECT_EQ(sums.values[1].toInt64(), qint64(rows) * (rows - 1) / 2);
    qint64 length = 0;
    for (int n = 0; n < rows; ++n)
        length += 150 + QString::number(n).size();
    EXPECT_EQ(sums.values[2].toInt64(), length);
}

TEST(GatheringFileLayer, FilesBuiltAndCopiedUnderItReadBackWhole)
{
    for (const int rows : {3, 200, 5000}) {  // within one piece, a few pieces, about 1.6 MB
        SCOPED_TRACE(rows);
        QTemporaryDir dir;
        const QString built = dir.filePath(QStringLiteral("built.db"));
        const QString copied = dir.filePath(QStringLiteral("copied.db"));
        {
            auto db = SqlCipherConnection::create(built, password, SqlCipherConnection::NewFileUse::Alone);
            fill(*db, rows);
            db->backupTo(copied, password);
        }
        expectWhole(built, rows);
        expectWhole(copied, rows);
    }
}

}  // namespace
