// The guards of the log book's columns: what the engine refuses when a value is written, and what
// log_book::brokenGuard refuses before it is written (the import), are the same.
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/temp_database.h"
#include "tools/log_book_schema.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace vornak;
using namespace vornak::testing;

namespace {

TEST(LogBookSchema, TheEngineAndBrokenGuardRefuseTheSameValues)
{
    TempDatabase file;
    auto db = SqlCipherConnection::open(file.path(), log_book::password);
    const SchemaTable &expenses = log_book::tables()[3];
    ASSERT_EQ(expenses.name, QStringLiteral("DOC_EXPENSE"));
    const auto column = [&](const QString &name) {
        for (const SchemaColumn &c : expenses.columns)
            if (c.name == name)
                return c;
        ADD_FAILURE() << name.toStdString();
        return SchemaColumn{};
    };
    const QString pair = QString(QChar(0xD835)) + QChar(0xDC00);  // one character in two code units
    const QString ya(1, u'я');
    const struct {
        const char *column;
        Variant value;
    } cases[] = {
        {"IDTYPE", Variant()},
        {"IDTYPE", 0},
        {"IDTYPE", true},
        {"IDTYPE", qint64(std::numeric_limits<qint32>::min())},
        {"IDTYPE", qint64(std::numeric_limits<qint32>::max())},
        {"IDTYPE", qint64(std::numeric_limits<qint32>::max()) + 1},
        {"IDTYPE", qint64(std::numeric_limits<qint32>::min()) - 1},
        {"KOLVO", -0.0},
        {"KOLVO", 1e308},
        {"KOLVO", std::nan("")},
        {"KOLVO", 3},
        {"DATEDOC", Variant::fromDateTime(45000.75)},
        {"DATEDOC", Variant()},
        {"OPISANIE", QString()},
        {"OPISANIE", ya.repeated(255)},
        {"OPISANIE", ya.repeated(256)},
        {"OPISANIE", ya.repeated(254) + pair},
        {"OPISANIE", ya.repeated(255) + pair},
        {"OPISANIE", QString(QChar(0xDC00)).repeated(256)},
        {"OPISANIE", ya.repeated(10) + QChar(u'\0') + ya.repeated(300)},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.column);
        SCOPED_TRACE(name.toStdString() + " " + c.value.toString().left(20).toStdString());
        bool written = true;
        try {
            db->runStatement(QStringLiteral("INSERT INTO DOC_EXPENSE (%1) VALUES (?)").arg(name), {c.value});
        } catch (const DatabaseError &) {
            written = false;
        }
        EXPECT_EQ(log_book::brokenGuard(column(name), c.value).isEmpty(), written);
    }
}

}  // namespace
