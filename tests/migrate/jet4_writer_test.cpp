// The test's Jet 4 writer, proven by a reader that is not ours: mdbtools' command-line tools list
// the tables of its files, their columns with their types, and every row as the writer was told.
#include "platform/date_time.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/temp_database.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

using namespace vornak;
using namespace vornak::testing;

namespace {

QString mdb(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << tool.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

const char *typeName(JetColumnType type)
{
    static const char *const names[] = {"Long Integer", "Long Integer",        "Integer", "Double", "DateTime",
                                        "Text (255)",   "Memo/Hyperlink (255)"};
    return names[int(type)];
}

// A value as mdb-export prints it: doubles with 16 significant digits (so not always the stored
// double), dates to the second, texts quoted with quotes doubled and characters outside the
// basic plane as "??", NULL and the empty text alike as nothing.
QString exported(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        return {};
    case Variant::Type::Integer:
    case Variant::Type::Int64:
        return QString::number(value.toInt64());
    case Variant::Type::DateTime:
        return u'"' + date_time::decode(value.toDouble()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'"';
    case Variant::Type::String: {
        QString text = value.toString();
        if (text.isEmpty())
            return {};
        for (qsizetype i = 0; i + 1 < text.size(); ++i)
            if (text[i].isHighSurrogate())
                text.replace(i, 2, QStringLiteral("??"));
        return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
    default:
        return QString::asprintf("%.16g", value.toDouble());
    }
}

TEST(Jet4Writer, MdbtoolsReadTheTablesColumnsAndRowsBack)
{
    JetFileContents plain = sampleOldLogBook();
    // Dates before 1899-12-30 have no text in mdb-export; their bytes are proven by the import.
    for (JetTableContents &table : plain.tables)
        for (QList<Variant> &row : table.rows)
            for (Variant &value : row)
                if (value.type() == Variant::Type::DateTime && value.toDouble() < 0)
                    value = Variant();
    JetFileContents encoded = plain;
    encoded.encodingKey = 0x13572468;
    for (const JetFileContents &file : {plain, encoded}) {
        SCOPED_TRACE(file.encodingKey);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.mdb"));
        ASSERT_TRUE(writeFileContents(path, writeJet4(file)));

        QString tables;
        for (const JetTableContents &table : file.tables)
            tables += table.name + u'\n';
        EXPECT_EQ(mdb(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path}), tables);

        const QString schema = mdb(QStringLiteral("mdb-schema"), {path});
        for (const JetTableContents &table : file.tables) {
            QStringList columns;
            for (const JetColumnDeclaration &c : table.columns)
                columns.append(QStringLiteral("\t[%1]\t\t\t%2").arg(c.name, QLatin1String(typeName(c.type))));
            const QString create =
                QStringLiteral("CREATE TABLE [%1]\n (\n%2\n);").arg(table.name, columns.join(QStringLiteral(", \n")));
            EXPECT_TRUE(schema.contains(create)) << create.toStdString() << "\nin\n" << schema.toStdString();

            QStringList lines;
            for (const JetColumnDeclaration &c : table.columns)
                lines.append(c.name);
            QStringList csv = {lines.join(u',')};
            for (const QList<Variant> &row : table.rows) {
                QStringList values;
                for (const Variant &value : row)
                    values.append(exported(value));
                csv.append(values.join(u','));
            }
            EXPECT_EQ(mdb(QStringLiteral("mdb-export"),
                          {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), path, table.name})
                          .toStdString(),
                      (csv.join(u'\n') + u'\n').toStdString());
        }
    }
}

}  // namespace
