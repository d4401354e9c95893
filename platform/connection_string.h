#pragma once

#include "platform/database.h"

#include <QList>
#include <QString>
#include <utility>

namespace vornak {

// The settings of a connection string: "Key=Value" pairs separated by ';', keys ignoring case,
// a value optionally in double or single quotes (then it may hold ';'; the quote inside doubled).
class ConnectionString {
public:
    static ConnectionString parse(const QString &text);

    // The value of `key` (ignoring case), empty when absent.
    QString value(const QString &key) const;
    bool contains(const QString &key) const;

    QString dataSource() const { return value(QStringLiteral("Data Source")); }
    QString password() const { return value(QStringLiteral("Jet OLEDB:Database Password")); }

    // A connection string of the log book's form for the file at `path`; a path or password
    // holding ';' or a quote is quoted, so it reads back whole. Read-only, it says "Mode=Read".
    static QString forFile(const QString &path, const QString &password, Access access = Access::ReadWrite);

private:
    QList<std::pair<QString, QString>> settings_;
};

}  // namespace vornak
