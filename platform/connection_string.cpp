#include "platform/connection_string.h"

namespace vornak {

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        QString value = part.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        result.settings_.append({part.left(eq).trimmed(), value});
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

QString ConnectionString::forFile(const QString &path, const QString &password)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False;"
                          "Jet OLEDB:Database Password=%2")
        .arg(path, password);
}

} // namespace vornak
