#include "platform/text_collation.h"

#include <QCollator>
#include <QLocale>
#include <sqlcipher/sqlite3.h>

namespace vornak {

namespace {

int compareTexts(void *, int leftBytes, const void *left, int rightBytes, const void *right)
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const QString a = QString::fromUtf8(static_cast<const char *>(left), leftBytes);
    const QString b = QString::fromUtf8(static_cast<const char *>(right), rightBytes);
    const int order = collator.compare(a, b);
    // Texts that differ only in case are equal; other ties (ICU ignoring some characters) are
    // broken by code point, so equal stays equal only for the same letters.
    if (order != 0 || a.compare(b, Qt::CaseInsensitive) == 0)
        return order;
    return a.compare(b, Qt::CaseInsensitive);
}

}  // namespace

void installTextCollation(sqlite3 *db)
{
    // In the file's own encoding, or SQLite keeps preferring its built-in one.
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareTexts, nullptr);
}

}  // namespace vornak
