#include "platform/connection_string.h"

namespace vornak {

namespace {

// A value as the connection string writes it: bare when nothing in it could end or change it,
// otherwise in double quotes with every double quote inside doubled.
QString quotedValue(const QString &value)
{
    const bool bare = !value.isEmpty() && !value.contains(u';') && !value.contains(u'"') && !value.contains(u'\'') &&
                      value.trimmed() == value;
    if (bare)
        return value;
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

}  // namespace

// Reads "key=value" pairs one after the other: a value that opens with a double or single quote
// runs to the matching quote (a doubled quote inside is one quote), so it may hold ';'.
ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype eq = text.indexOf(u'=', pos);
        const qsizetype semicolon = text.indexOf(u';', pos);
        if (eq < 0 || (semicolon >= 0 && semicolon < eq)) {  // a part without '=' is skipped
            if (semicolon < 0)
                break;
            pos = semicolon + 1;
            continue;
        }
        const QString key = text.mid(pos, eq - pos).trimmed();
        pos = eq + 1;
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        QString value;
        if (pos < text.size() && (text[pos] == u'"' || text[pos] == u'\'')) {
            const QChar quote = text[pos++];
            while (pos < text.size()) {
                if (text[pos] == quote) {
                    if (pos + 1 < text.size() && text[pos + 1] == quote) {
                        value += quote;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += text[pos++];
            }
            const qsizetype end = text.indexOf(u';', pos);
            pos = end < 0 ? text.size() : end + 1;
        } else {
            const qsizetype end = text.indexOf(u';', pos);
            value = text.mid(pos, (end < 0 ? text.size() : end) - pos).trimmed();
            pos = end < 0 ? text.size() : end + 1;
        }
        result.settings_.append({key, value});
    }
    return result;
}

QString ConnectionString::value(const QString &key) const
{
    for (const auto &[k, v] : settings_)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &setting : settings_)
        if (setting.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnectionString::forFile(const QString &path, const QString &password, Access access)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False;"
                          "Jet OLEDB:Database Password=%2%3")
        .arg(quotedValue(path), quotedValue(password),
             access == Access::ReadOnly ? QStringLiteral(";Mode=Read") : QString());
}

}  // namespace vornak
