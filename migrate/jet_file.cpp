// Reading the old program's Jet 4 file through libmdb. libmdb walks the catalogue, the table
// definitions and the data pages (decoding scrambled pages on its way); the values themselves
// are taken from the bytes it locates for each column of the current row, because its text
// forms lose digits of doubles, years of dates and characters outside the basic plane.
//
// libmdb's header must come after glib's, outside any "extern C" block, and only in this file.
#include "migrate/jet_file.h"

#include <glib.h>
#include <mdbtools.h>

#include <cstring>
#include <QFile>
#include <QFileInfo>
#include <vector>

namespace vornak {

namespace {

constexpr qint64 jetPageSize = 4096;
constexpr int tdefAutoNumberOffset = 20;  // the last AutoNumber given out, in the definition page

struct TypeRow {
    int code;
    JetType type;
};
constexpr TypeRow typeRows[] = {
    {MDB_BOOL, JetType::Boolean},  {MDB_BYTE, JetType::Byte},         {MDB_INT, JetType::Integer},
    {MDB_LONGINT, JetType::Long},  {MDB_MONEY, JetType::Currency},    {MDB_FLOAT, JetType::Single},
    {MDB_DOUBLE, JetType::Double}, {MDB_DATETIME, JetType::DateTime}, {MDB_BINARY, JetType::Binary},
    {MDB_TEXT, JetType::Text},     {MDB_OLE, JetType::Ole},           {MDB_MEMO, JetType::Memo},
};

JetType jetType(int code)
{
    for (const TypeRow &row : typeRows)
        if (row.code == code)
            return row.type;
    return JetType::Other;
}

// A text as Jet 4 stores it: UTF-16LE, or the compressed form (FF FE, then one-byte characters
// and UTF-16LE units, a zero byte switching between the two).
QString decodeText(const unsigned char *bytes, int length)
{
    QString text;
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        text.reserve(length);
        bool oneByte = true;
        for (int i = 2; i < length;) {
            if (bytes[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                text.append(QChar(bytes[i++]));
            } else if (i + 1 < length) {
                text.append(QChar(char16_t(bytes[i] | bytes[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    text.resize(length / 2);
    for (int i = 0; i < length / 2; ++i)
        text[i] = QChar(char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8));
    return text;
}

struct TableDefDeleter {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TableDef = std::unique_ptr<MdbTableDef, TableDefDeleter>;

}  // namespace

struct JetFile::Handle {
    MdbHandle *mdb = nullptr;
    qint64 pages = 0;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

// The engine name in the first page: "Standard Jet DB" or, for the later format, "Standard ACE DB".
QByteArray engineName(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(20);
    return head.size() == 20 && head[0] == 0 ? head.mid(4, 16) : QByteArray();
}

const QByteArray jetEngine("Standard Jet DB", 16);
const QByteArray aceEngine("Standard ACE DB", 16);

}  // namespace

bool isJetFile(const QString &path)
{
    return engineName(path) == jetEngine;
}

JetFile::JetFile(std::unique_ptr<Handle> handle, QString path)
    : handle_(std::move(handle)),
      path_(std::move(path))
{
}

JetFile::~JetFile() = default;

std::unique_ptr<JetFile> JetFile::open(const QString &path)
{
    const QFileInfo info(path);
    const QString shown = info.absoluteFilePath();
    if (!info.exists())
        throw ImportError(QStringLiteral("Could not find file '%1'.").arg(shown));
    if (!info.isFile())
        throw ImportError(QStringLiteral("'%1' is not a file.").arg(shown));
    if (const QByteArray engine = engineName(path); engine != jetEngine && engine != aceEngine)
        throw ImportError(QStringLiteral("The file '%1' is not an Access database.").arg(shown));
    const QString unreadable =
        QStringLiteral("The file '%1' cannot be read: it is damaged, encrypted or of a later Access format.")
            .arg(shown);
    if (info.size() % jetPageSize != 0)
        throw ImportError(QStringLiteral("The file '%1' is damaged: it ends inside a page.").arg(shown));
    auto handle = std::make_unique<Handle>();
    handle->pages = info.size() / jetPageSize;
    handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle->mdb || !mdb_read_catalog(handle->mdb, MDB_TABLE))
        throw ImportError(unreadable);
    return std::unique_ptr<JetFile>(new JetFile(std::move(handle), shown));
}

QStringList JetFile::tables() const
{
    QStringList names;
    MdbHandle *mdb = handle_->mdb;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (mdb_is_user_table(entry))
            names.append(QString::fromUtf8(entry->object_name));
    }
    return names;
}

namespace {

MdbCatalogEntry *catalogEntry(MdbHandle *mdb, const QString &table, const QString &path)
{
    MdbCatalogEntry *entry = mdb_get_catalogentry_by_name(mdb, table.toUtf8().constData());
    if (!entry || entry->object_type != MDB_TABLE)
        throw ImportError(QStringLiteral("The file '%1' has no table %2.").arg(path, table));
    return entry;
}

TableDef readTable(MdbHandle *mdb, const QString &table, const QString &path)
{
    TableDef definition(mdb_read_table(catalogEntry(mdb, table, path)));
    if (!definition || !mdb_read_columns(definition.get()))
        throw ImportError(
            QStringLiteral("The file '%1' is damaged: the definition of table %2 cannot be read.").arg(path, table));
    return definition;
}

MdbColumn *column(MdbTableDef *table, unsigned int index)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
}

}  // namespace

QList<JetColumn> JetFile::columns(const QString &table) const
{
    const TableDef definition = readTable(handle_->mdb, table, path_);
    QList<JetColumn> list;
    for (unsigned int i = 0; i < definition->num_cols; ++i) {
        const MdbColumn *c = column(definition.get(), i);
        list.append({QString::fromUtf8(c->name), jetType(c->col_type), c->is_long_auto != 0});
    }
    return list;
}

qint32 JetFile::lastAutoNumber(const QString &table) const
{
    MdbHandle *mdb = handle_->mdb;
    const MdbCatalogEntry *entry = catalogEntry(mdb, table, path_);
    if (mdb_read_pg(mdb, entry->table_pg) != jetPageSize)
        throw ImportError(
            QStringLiteral("The file '%1' is damaged: the definition of table %2 cannot be read.").arg(path_, table));
    return qint32(mdb_get_int32(mdb->pg_buf, tdefAutoNumberOffset));
}

void JetFile::readRows(const QString &table, const QStringList &columns,
                       const std::function<void(const QList<Variant> &values)> &row) const
{
    MdbHandle *mdb = handle_->mdb;
    const TableDef definition = readTable(mdb, table, path_);
    MdbTableDef *t = definition.get();
    QList<MdbColumn *> wanted;
    QList<int> positions;  // of each wanted column in the table's columns (for the null mask)
    bool hasText = false;
    for (const QString &name : columns) {
        const QByteArray utf8 = name.toUtf8();
        int found = -1;
        for (unsigned int i = 0; i < t->num_cols && found < 0; ++i)
            if (g_ascii_strcasecmp(column(t, i)->name, utf8.constData()) == 0)
                found = int(i);
        if (found < 0)
            throw ImportError(QStringLiteral("The file '%1' has no column %2.%3.").arg(path_, table, name));
        wanted.append(column(t, unsigned(found)));
        positions.append(found);
        hasText = hasText || wanted.last()->col_type == MDB_TEXT;
    }

    std::vector<MdbField> fields(t->num_cols);
    QList<Variant> values(columns.size());
    unsigned int count = 0;
    mdb_rewind_table(t);
    while (mdb_fetch_row(t)) {
        ++count;
        const unsigned char *page = mdb->pg_buf;
        // NULL and an empty text both have no bytes; only the row's null mask tells them apart.
        bool cracked = false;
        for (qsizetype i = 0; i < wanted.size(); ++i) {
            const MdbColumn *c = wanted[i];
            const int start = c->cur_value_start;
            const int length = c->cur_value_len;
            if (c->col_type == MDB_TEXT) {
                if (length == 0 && !cracked && hasText) {
                    int rowStart = 0;
                    size_t rowLength = 0;
                    mdb_find_row(mdb, int(t->cur_row) - 1, &rowStart, &rowLength);
                    mdb_crack_row(t, rowStart & 0x1FFF, rowLength, fields.data());
                    cracked = true;
                }
                values[i] = length > 0 ? Variant(decodeText(page + start, length))
                                       : (fields[positions[i]].is_null ? Variant() : Variant(QString()));
                continue;
            }
            if (length == 0) {
                values[i] = Variant();
                continue;
            }
            switch (c->col_type) {
            case MDB_BYTE:
                values[i] = Variant(int(page[start]));
                break;
            case MDB_INT:
                values[i] = Variant(int(qint16(mdb_get_int16(const_cast<unsigned char *>(page), start))));
                break;
            case MDB_LONGINT:
                values[i] = Variant(int(qint32(mdb_get_int32(const_cast<unsigned char *>(page), start))));
                break;
            case MDB_DOUBLE:
                values[i] = Variant(mdb_get_double(const_cast<unsigned char *>(page), start));
                break;
            case MDB_DATETIME:
                values[i] = Variant::fromDateTime(mdb_get_double(const_cast<unsigned char *>(page), start));
                break;
            default:
                throw ImportError(QStringLiteral("The column %1.%2 of the file '%3' has a type that cannot be read.")
                                      .arg(table, QString::fromUtf8(c->name), path_));
            }
        }
        row(values);
    }
    // A table whose pages are missing (a file cut short at a page boundary) yields fewer rows
    // than its definition counts.
    if (count < t->num_rows)
        throw ImportError(QStringLiteral("The file '%1' is damaged: table %2 should hold %3 rows, %4 were found.")
                              .arg(path_, table)
                              .arg(t->num_rows)
                              .arg(count));
}

}  // namespace vornak
