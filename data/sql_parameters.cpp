#include "data/sql_parameters.h"

namespace vornak {

SqlParameterScan scanSqlParameters(const QString &sql)
{
    SqlParameterScan scan;
    scan.text.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`') {
            const qsizetype close = sql.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? sql.size() : close + 1;
            scan.text += QStringView(sql).sliced(i, end - i);
            i = end;
            continue;
        }
        if (c == u':') {
            if (i + 1 < sql.size() && sql[i + 1] == u':') {
                scan.text += QStringLiteral("::");
                i += 2;
                continue;
            }
            qsizetype end = i + 1;
            while (end < sql.size() && !sql[end].isSpace())
                ++end;
            if (end > i + 1) {
                scan.names.append(sql.mid(i + 1, end - i - 1));
                scan.text += u'?';
                i = end;
                continue;
            }
        }
        scan.text += c;
        ++i;
    }
    return scan;
}

}  // namespace vornak
