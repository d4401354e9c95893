#include "report/model/property.h"

#include "platform/errors.h"
#include "report/model/report_types.h"

#include <QLocale>

namespace vornak {

const TfrxPropertyInfo *findProperty(const TfrxPropertyList &list, const QString &name)
{
    for (const TfrxPropertyInfo &info : list)
        if (info.name.compare(name, Qt::CaseInsensitive) == 0)
            return &info;
    return nullptr;
}

namespace property_text {

namespace {

[[noreturn]] void badValue(const QString &text)
{
    throw EngineError(QStringLiteral("Недопустимое значение \"%1\"").arg(text));
}

struct NamedColor {
    const char *name;
    int value;
};

constexpr NamedColor kColorNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clNavy", clNavy},
    {"clGray", clGray},   {"clSilver", clSilver}, {"clRed", clRed},     {"clBlue", clBlue},
    {"clWhite", clWhite}, {"clNone", clNone},     {"clTransparent", clTransparent},
};

} // namespace

QString fromFloat(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double toFloat(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        badValue(text);
    return value;
}

QString fromInt(qint64 value)
{
    return QString::number(value);
}

int toInt(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        badValue(text);
    return value;
}

QString fromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool toBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    badValue(text);
}

QString fromColor(int color)
{
    for (const NamedColor &named : kColorNames)
        if (named.value == color)
            return QString::fromLatin1(named.name);
    return QString::number(color);
}

int toColor(const QString &text)
{
    const QString t = text.trimmed();
    for (const NamedColor &named : kColorNames)
        if (t.compare(QLatin1StringView(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    bool ok = false;
    const int value = t.startsWith(u'$') ? t.mid(1).toInt(&ok, 16) : t.toInt(&ok);
    if (!ok)
        badValue(text);
    return value;
}

QString fromEnum(int value, const QStringList &names)
{
    return value >= 0 && value < names.size() ? names.at(value) : QString::number(value);
}

int toEnum(const QString &text, const QStringList &names)
{
    const QString t = text.trimmed();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(t, Qt::CaseInsensitive) == 0)
            return i;
    badValue(text);
}

int toSet(const QString &text, const QStringList &names)
{
    const QString t = text.trimmed();
    if (!(t.startsWith(u'[') && t.endsWith(u']')))
        return toInt(t);
    int bits = 0;
    const QStringList items = t.mid(1, t.size() - 2).split(u',', Qt::SkipEmptyParts);
    for (const QString &item : items)
        bits |= 1 << toEnum(item, names);
    return bits;
}

QString fromLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QStringList toLines(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
}

} // namespace property_text

} // namespace vornak
