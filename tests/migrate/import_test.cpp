// `vornak-db import OLD.mdb NEW.mdb` on old log books written by the test's Jet 4 writer: every
// row comes over key by key with its values exactly, and every bad input is refused with a
// message, leaving each file as it was.
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/temp_database.h"
#include "tests/tools/tool_run.h"
#include "tools/log_book_schema.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

// A value as the comparison sees it: integers by number, doubles and dates by their bits,
// texts exactly, NULL apart from the empty text.
std::string shown(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        return "NULL";
    case Variant::Type::Integer:
    case Variant::Type::Int64:
        return "i" + std::to_string(value.toInt64());
    case Variant::Type::String:
        return "'" + value.toString().toStdString() + "'";
    default: {
        const double d = value.toDouble();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        return "d" + QString::number(bits, 16).toStdString();
    }
    }
}

std::string shownRows(QList<QList<Variant>> rows)
{
    std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a[0].toInt64() < b[0].toInt64(); });
    std::string text;
    for (const QList<Variant> &row : rows) {
        for (const Variant &v : row)
            text += shown(v) + " ";
        text += "\n";
    }
    return text;
}

QList<QList<Variant>> storedRows(SqlCipherConnection &db, const SchemaTable &table)
{
    QStringList names;
    for (const SchemaColumn &c : table.columns)
        names.append(c.name);
    const ResultData data = db.read(QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), table.name), {});
    QList<QList<Variant>> rows;
    for (qsizetype r = 0; r < data.rowCount; ++r)
        rows.append(data.values.mid(r * names.size(), names.size()));
    return rows;
}

// Every entry under `folder` with a hash of its bytes.
QStringList folderState(const QString &folder)
{
    QStringList state;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QByteArray bytes = entry.isDir() ? QByteArray("folder") : fileContents(entry.filePath());
        state.append(entry.filePath() + u' ' +
                     QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    }
    state.sort();
    return state;
}

TEST(Import, EveryRowComesOverKeyByKeyWithItsValuesExactly)
{
    JetFileContents encoded = sampleOldLogBook();
    encoded.encodingKey = 0x5A3C1F27;
    JetFileContents empty = sampleOldLogBook();
    for (JetTableContents &table : empty.tables)
        table.rows.clear();
    const struct {
        const char *name;
        JetFileContents file;
    } cases[] = {{"sample", sampleOldLogBook()}, {"encoded pages", encoded}, {"empty tables", empty}};

    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.mdb"));
        const QString made = dir.filePath(QStringLiteral("new.mdb"));
        ASSERT_TRUE(writeFileContents(old, writeJet4(c.file)));

        const ToolRun run = runTool({QStringLiteral("import"), old, made});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QString counts;
        for (const JetTableContents &table : c.file.tables)
            counts += QStringLiteral("%1\t%2 rows\n").arg(table.name).arg(table.rows.size());
        EXPECT_TRUE(run.out.endsWith(counts)) << run.out.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  QStringList({QStringLiteral("new.mdb"), QStringLiteral("old.mdb")}));

        auto db = SqlCipherConnection::open(made, log_book::password);
        EXPECT_EQ(log_book::check(*db), QStringList());
        for (qsizetype t = 0; t < c.file.tables.size(); ++t) {
            const JetTableContents &expected = c.file.tables[t];
            const SchemaTable &table = log_book::tables()[t];
            EXPECT_EQ(shownRows(storedRows(*db, table)), shownRows(expected.rows)) << table.name.toStdString();
            // The next key continues after the highest key, or the old counter when ahead.
            qint64 last = expected.lastAutoNumber;
            for (const QList<Variant> &row : expected.rows)
                last = std::max(last, row[0].toInt64());
            db->runStatement(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table.name), {});
            EXPECT_EQ(db->lastInsertKey(), last + 1) << table.name.toStdString();
        }
    }
}

TEST(Import, ListsWhatItIgnores)
{
    JetFileContents file = sampleOldLogBook();
    file.tables[0].columns.append({QStringLiteral("color"), JetColumnType::Text});
    file.tables.append({QStringLiteral("Switchboard Items"), {{QStringLiteral("id"), JetColumnType::Long}}, {{1}}});
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileContents(dir.filePath(QStringLiteral("old.mdb")), writeJet4(file)));
    const ToolRun run = runTool(
        {QStringLiteral("import"), dir.filePath(QStringLiteral("old.mdb")), dir.filePath(QStringLiteral("new.mdb"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Ignored table Switchboard Items\nIgnored column SPR_AUTO.color\n")))
        << run.out.toStdString();
}

struct Refusal {
    const char *name;
    // Makes OLD.mdb (and whatever else the case needs) in `folder`; returns the target to write,
    // or an empty text with `skip` saying why the case cannot be made here.
    std::function<QString(const QString &folder, QString &skip)> make;
    const char *message;  // %1: the folder
};

QString writeOld(const QString &folder, const QByteArray &bytes)
{
    writeFileContents(folder + QStringLiteral("/OLD.mdb"), bytes);
    return folder + QStringLiteral("/NEW.mdb");
}

auto old(std::function<QByteArray()> bytes)
{
    return [bytes = std::move(bytes)](const QString &folder, QString &) { return writeOld(folder, bytes()); };
}

// Mounts a small disk of its own at `folder`/disk (tmpfs with `options`); takes the superuser.
bool mountDisk(const QString &folder, const QString &options)
{
    const QString disk = folder + QStringLiteral("/disk");
    QDir(folder).mkdir(QStringLiteral("disk"));
    return geteuid() == 0 && QProcess::execute(QStringLiteral("mount"),
                                               {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                options, QStringLiteral("tmpfs"), disk}) == 0;
}

JetFileContents changed(const std::function<void(JetFileContents &)> &change)
{
    JetFileContents file = sampleOldLogBook();
    change(file);
    return file;
}

TEST(Import, RefusesBadInputAndChangesNoFile)
{
    static const QByteArray sample = writeJet4(sampleOldLogBook());
    const Refusal cases[] = {
        {"missing file", [](const QString &folder, QString &) { return folder + QStringLiteral("/NEW.mdb"); },
         "Could not find file '%1/OLD.mdb'."},
        {"not a Jet file", old([] { return QByteArray("just text\n").repeated(500); }),
         "The file '%1/OLD.mdb' is not an Access database."},
        {"encrypted later format (no catalogue)", old([] {
             QByteArray later = sample;
             later[0x14] = 0x03;  // an Access 2010 file: its pages cannot be read without the key
             for (qsizetype i = 4096; i < later.size(); ++i)
                 later[i] = char(later[i] ^ 0xA5);
             later.replace(4, 15, "Standard ACE DB");
             return later;
         }),
         "The file '%1/OLD.mdb' cannot be read: it is damaged, encrypted or of a later Access format."},
        {"truncated inside a page", old([] { return sample.left(sample.size() - 100); }),
         "The file '%1/OLD.mdb' is damaged: it ends inside a page."},
        {"truncated at a page", old([] { return sample.left(sample.size() - 4096); }),
         "The file '%1/OLD.mdb' is damaged: table DOC_EVENTS should hold 4 rows, 0 were found."},
        {"catalogue page damaged",
         old([] { return sample.left(2 * 4096) + QByteArray(4096, '\x55') + sample.mid(3 * 4096); }),
         "The file '%1/OLD.mdb' cannot be read: it is damaged, encrypted or of a later Access format."},
        {"table missing", old([] { return writeJet4(changed([](JetFileContents &f) { f.tables.removeAt(4); })); }),
         "Table DOC_EVENTS is missing."},
        {"column missing",
         old([] { return writeJet4(changed([](JetFileContents &f) { f.tables[3].columns.removeAt(5); })); }),
         "Column DOC_EXPENSE.SUMMA is missing."},
        {"column of another type", old([] {
             return writeJet4(changed([](JetFileContents &f) {
                 f.tables[3].columns[4].type = JetColumnType::Text;
                 f.tables[4].columns[6].type = JetColumnType::Memo;
                 f.tables[4].rows.clear();
             }));
         }),
         "Column DOC_EXPENSE.KOLVO is Text, expected Double.\nColumn DOC_EVENTS.opisanie is Memo, expected Text."},
        {"duplicate key",
         old([] { return writeJet4(changed([](JetFileContents &f) { f.tables[1].rows[1][0] = 1; })); }),
         "Table SYS_TYPE_EXPENSE, the row with ID 1: "},
        {"text longer than its column", old([] {
             return writeJet4(changed([](JetFileContents &f) { f.tables[3].rows[1][6] = QString(256, u'я'); }));
         }),
         "Table DOC_EXPENSE, the row with ID 2 has a value in OPISANIE, which holds texts of at most 255 characters "
         "only."},
        {"date outside the years 1 to 9999", old([] {
             return writeJet4(
                 changed([](JetFileContents &f) { f.tables[2].rows[4][1] = Variant::fromDateTime(-700000); }));
         }),
         "DOC_MILEAGE.datedoc of id 5 holds -700000, which is no date from 0001-01-01 to 9999-12-31."},
        {"NEW exists",
         [](const QString &folder, QString &) {
             writeFileContents(folder + QStringLiteral("/NEW.mdb"), "mine");
             return writeOld(folder, sample);
         },
         "The file '%1/NEW.mdb' already exists."},
        {"unwritable folder",
         [](const QString &folder, QString &skip) {
             const QString target = writeOld(folder, sample);
             if (geteuid() != 0) {
                 QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                 return target;
             }
             // File modes do not bind the superuser: a read-only disk does.
             if (!mountDisk(folder, QStringLiteral("ro,size=64k"))) {
                 skip = QStringLiteral("a read-only disk could not be mounted");
                 return QString();
             }
             return folder + QStringLiteral("/disk/NEW.mdb");
         },
         "Could not create file '%1/%2NEW.mdb': the folder cannot be written to."},
        {"full disk",
         [](const QString &folder, QString &skip) {
             if (!mountDisk(folder, QStringLiteral("size=256k"))) {
                 skip = QStringLiteral("a small disk could not be mounted (this takes the superuser)");
                 return QString();
             }
             writeOld(folder, writeJet4(changed([](JetFileContents &f) {
                          for (int id = 401; id <= 20000; ++id)
                              f.tables[2].rows.append({id, 43567.0, 1, id, 1});
                      })));
             return folder + QStringLiteral("/disk/NEW.mdb");
         },
         "disk is full"},
    };

    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString skip;
        const QString target = c.make(dir.path(), skip);
        if (target.isEmpty()) {
            ASSERT_FALSE(skip.isEmpty());
            std::cout << "[  SKIPPED ] " << c.name << ": " << skip.toStdString() << std::endl;
            continue;
        }
        const QStringList before = folderState(dir.path());
        const ToolRun run = runTool({QStringLiteral("import"), dir.filePath(QStringLiteral("OLD.mdb")), target});
        const QStringList after = folderState(dir.path());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(dir.filePath(QStringLiteral("disk"))).isDir())
            QProcess::execute(QStringLiteral("umount"), {dir.filePath(QStringLiteral("disk"))});
        EXPECT_EQ(run.exitCode, 1);
        const QString onDisk = geteuid() == 0 ? QStringLiteral("disk/") : QString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message).arg(dir.path(), onDisk))) << c.message << '\n'
                                                                                            << run.err.toStdString();
        EXPECT_EQ(after.join(u'\n').toStdString(), before.join(u'\n').toStdString());
    }
}

}  // namespace
