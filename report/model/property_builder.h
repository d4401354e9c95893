#pragma once

// Builds the property tables of the report object classes (used by their .cpp files only).

#include "report/model/property.h"

#include <optional>

namespace vornak {

namespace property_value {

inline Variant toVariant(double v) { return Variant(v); }
inline Variant toVariant(int v) { return Variant(v); }
inline Variant toVariant(bool v) { return Variant(v); }
inline Variant toVariant(const QString &v) { return Variant(v); }
inline Variant toVariant(const QStringList &v) { return Variant(property_text::fromLines(v)); }

template <class T>
T fromVariant(const Variant &v);
template <>
inline double fromVariant<double>(const Variant &v) { return v.toDouble(); }
template <>
inline int fromVariant<int>(const Variant &v) { return v.toInt(); }
template <>
inline bool fromVariant<bool>(const Variant &v) { return v.toBool(); }
template <>
inline QString fromVariant<QString>(const Variant &v) { return v.toString(); }
template <>
inline QStringList fromVariant<QStringList>(const Variant &v) { return property_text::toLines(v.toString()); }

} // namespace property_value

template <class C>
struct PropertyBuilder {
    template <class T>
    using Getter = std::function<T(const C &)>;
    template <class T>
    using Setter = std::function<void(C &, T)>;

    // A property of class C whose value of type T is turned into text by `toText` and back by
    // `fromText`; stored only when it differs from `def` (always, without a default).
    template <class T>
    static TfrxPropertyInfo make(const QString &name, Getter<T> get, Setter<T> set, std::function<QString(T)> toText,
                                 std::function<T(const QString &)> fromText, std::optional<T> def)
    {
        TfrxPropertyInfo info;
        info.name = name;
        info.read = [get, toText](const TfrxComponent &o) { return toText(get(static_cast<const C &>(o))); };
        info.write = [set, fromText](TfrxComponent &o, const QString &text) { set(static_cast<C &>(o), fromText(text)); };
        info.isStored = [get, def](const TfrxComponent &o) { return !def || !(get(static_cast<const C &>(o)) == *def); };
        info.value = [get](const TfrxComponent &o) { return property_value::toVariant(get(static_cast<const C &>(o))); };
        info.setValue = [set](TfrxComponent &o, const Variant &v) {
            set(static_cast<C &>(o), property_value::fromVariant<T>(v));
        };
        return info;
    }

    static TfrxPropertyInfo Float(const QString &name, Getter<double> get, Setter<double> set, std::optional<double> def)
    {
        return make<double>(name, get, set, property_text::fromFloat, property_text::toFloat, def);
    }
    static TfrxPropertyInfo Int(const QString &name, Getter<int> get, Setter<int> set, std::optional<int> def)
    {
        return make<int>(name, get, set, [](int v) { return property_text::fromInt(v); }, property_text::toInt, def);
    }
    static TfrxPropertyInfo Bool(const QString &name, Getter<bool> get, Setter<bool> set, std::optional<bool> def)
    {
        return make<bool>(name, get, set, property_text::fromBool, property_text::toBool, def);
    }
    static TfrxPropertyInfo Text(const QString &name, Getter<QString> get, Setter<QString> set,
                                 std::optional<QString> def = QString())
    {
        return make<QString>(name, get, set, [](QString v) { return v; }, [](const QString &t) { return t; }, def);
    }
    static TfrxPropertyInfo Color(const QString &name, Getter<int> get, Setter<int> set, std::optional<int> def)
    {
        return make<int>(name, get, set, property_text::fromColor, property_text::toColor, def);
    }
    static TfrxPropertyInfo Enum(const QString &name, Getter<int> get, Setter<int> set, int def, QStringList names)
    {
        return make<int>(
            name, get, set, [names](int v) { return property_text::fromEnum(v, names); },
            [names](const QString &t) { return property_text::toEnum(t, names); }, def);
    }
    static TfrxPropertyInfo Set(const QString &name, Getter<int> get, Setter<int> set, int def, QStringList names)
    {
        return make<int>(
            name, get, set, [](int v) { return property_text::fromInt(v); },
            [names](const QString &t) { return property_text::toSet(t, names); }, def);
    }
    static TfrxPropertyInfo Lines(const QString &name, Getter<QStringList> get, Setter<QStringList> set,
                                  std::optional<QStringList> def = QStringList())
    {
        return make<QStringList>(name, get, set, property_text::fromLines, property_text::toLines, def);
    }
    // A reference to another component, stored by its name.
    static TfrxPropertyInfo Reference(const QString &name, Getter<QString> targetName,
                                      std::function<void(C &, const QString &, const TfrxReferenceResolver &)> link)
    {
        TfrxPropertyInfo info;
        info.name = name;
        info.read = [targetName](const TfrxComponent &o) { return targetName(static_cast<const C &>(o)); };
        info.isStored = [targetName](const TfrxComponent &o) { return !targetName(static_cast<const C &>(o)).isEmpty(); };
        info.resolve = [link](TfrxComponent &o, const QString &target, const TfrxReferenceResolver &resolver) {
            link(static_cast<C &>(o), target, resolver);
        };
        return info;
    }
};

// Shorthands for a property P with the getter P() and the setter SetP(value).
#define FRX_FLOAT(C, P, D) PropertyBuilder<C>::Float(QStringLiteral(#P), [](const C &o) { return double(o.P()); }, [](C &o, double v) { o.Set##P(v); }, D)
#define FRX_INT(C, P, D) PropertyBuilder<C>::Int(QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D)
#define FRX_BOOL(C, P, D) PropertyBuilder<C>::Bool(QStringLiteral(#P), [](const C &o) { return bool(o.P()); }, [](C &o, bool v) { o.Set##P(v); }, D)
#define FRX_TEXT(C, P) PropertyBuilder<C>::Text(QStringLiteral(#P), [](const C &o) { return QString(o.P()); }, [](C &o, QString v) { o.Set##P(v); })
#define FRX_COLOR(C, P, D) PropertyBuilder<C>::Color(QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D)
#define FRX_ENUM(C, P, E, D, ...) PropertyBuilder<C>::Enum(QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(E(v)); }, D, QStringList{__VA_ARGS__})
#define FRX_SET(C, P, D, ...) PropertyBuilder<C>::Set(QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D, QStringList{__VA_ARGS__})

} // namespace vornak
