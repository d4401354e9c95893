#pragma once

#include <QString>
#include <QStringList>

namespace vornak {

struct SqlParameterScan {
    QString text;       // the statement with each marker replaced by "?"
    QStringList names;  // the marker names in order
};

// Finds parameter markers: outside literals (from an apostrophe, a double quote or a backquote
// to the next occurrence of the same character), a colon not followed by a second colon starts
// a name that runs to the next white-space character.
SqlParameterScan scanSqlParameters(const QString &sql);

}  // namespace vornak
