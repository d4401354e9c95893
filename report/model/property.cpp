#include "report/model/property.h"

#include "platform/errors.h"
#include "report/model/report_types.h"
#include "report/script/report_text.h"

#include <charconv>
#include <cmath>
#include <QLocale>

namespace vornak {

namespace {

Variant typed(TfrxPropertyKind kind, const Variant &value)
{
    switch (kind) {
    case TfrxPropertyKind::Float:
        return Variant(value.toDouble());
    case TfrxPropertyKind::Integer:
    case TfrxPropertyKind::Color:
    case TfrxPropertyKind::Enumeration:
    case TfrxPropertyKind::Set:
        return Variant(value.toInt());
    case TfrxPropertyKind::Boolean:
        return Variant(value.toBool());
    case TfrxPropertyKind::Text:
    case TfrxPropertyKind::Lines:
    case TfrxPropertyKind::Reference:
        return Variant(value.toString());
    }
    return value;
}

}  // namespace

void TfrxPropertyInfo::setValue(TfrxComponent &object, const Variant &value) const
{
    if (!set)
        throw EngineError(reportText("readOnlyProperty").arg(name));
    try {
        set(object, typed(kind, value));
    } catch (const ConversionError &error) {
        throw EngineError(error.message());
    }
}

QString TfrxPropertyInfo::text(const Variant &v) const
{
    using namespace property_text;
    switch (kind) {
    case TfrxPropertyKind::Float:
        return fromFloat(v.toDouble());
    case TfrxPropertyKind::Integer:
    case TfrxPropertyKind::Set:
        return fromInt(v.toInt64());
    case TfrxPropertyKind::Boolean:
        return fromBool(v.toBool());
    case TfrxPropertyKind::Color:
        return fromColor(v.toInt());
    case TfrxPropertyKind::Enumeration:
        return fromEnum(v.toInt(), identifiers);
    case TfrxPropertyKind::Text:
    case TfrxPropertyKind::Lines:
    case TfrxPropertyKind::Reference:
        return v.toString();
    }
    return v.toString();
}

bool TfrxPropertyInfo::sameText(const Variant &a, const Variant &b) const
{
    // Equal values of one type write the same text; the two zeros of a float go by their text.
    if (a == b && !(a.type() == Variant::Type::Float && std::signbit(a.toDouble()) != std::signbit(b.toDouble())))
        return true;
    return text(a) == text(b);
}

void TfrxPropertyInfo::write(TfrxComponent &object, const QString &text) const
{
    using namespace property_text;
    switch (kind) {
    case TfrxPropertyKind::Float:
        return setValue(object, Variant(toFloat(text)));
    case TfrxPropertyKind::Integer:
        return setValue(object, Variant(toInt(text)));
    case TfrxPropertyKind::Boolean:
        return setValue(object, Variant(toBool(text)));
    case TfrxPropertyKind::Color:
        return setValue(object, Variant(toColor(text)));
    case TfrxPropertyKind::Enumeration:
        return setValue(object, Variant(toEnum(text, identifiers)));
    case TfrxPropertyKind::Set:
        return setValue(object, Variant(toSet(text, identifiers)));
    case TfrxPropertyKind::Text:
    case TfrxPropertyKind::Lines:
    case TfrxPropertyKind::Reference:
        return setValue(object, Variant(text));
    }
}

bool TfrxPropertyInfo::isStored(const TfrxComponent &object) const
{
    return isStoredAtAll(object) && !(defaultOf && get(object) == typed(kind, defaultOf(object)));
}

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
    throw EngineError(reportText("badValue").arg(text));
}

struct NamedColor {
    const char *name;
    int value;
};

constexpr NamedColor kColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clNavy", clNavy},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clBlue", clBlue},
    {"clWhite", clWhite},
    {"clNone", clNone},
    {"clTransparent", clTransparent},
};

}  // namespace

QString fromFloat(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double toFloat(const QString &text)
{
    // A number as fromFloat writes it is read without going through the locale's parser.
    constexpr qsizetype shortNumber = 32;
    if (text.size() < shortNumber) {
        char digits[shortNumber];
        qsizetype n = 0;
        for (const QChar c : text) {
            if (!(c.isDigit() && c.unicode() < 0x80) && !QStringView(u".eE+-").contains(c))
                break;
            digits[n++] = char(c.unicode());
        }
        double value = 0;
        if (n == text.size() && n > 0) {
            const auto [end, error] = std::from_chars(digits, digits + n, value);
            if (error == std::errc() && end == digits + n)
                return value;
        }
    }
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

}  // namespace property_text

}  // namespace vornak
