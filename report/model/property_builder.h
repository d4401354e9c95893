#pragma once

// Builds the property tables of the report object classes (used by their .cpp files only).

#include "report/model/property.h"

#include <optional>

namespace vornak {

namespace property_value {

inline Variant toVariant(double v)
{
    return Variant(v);
}
inline Variant toVariant(int v)
{
    return Variant(v);
}
inline Variant toVariant(bool v)
{
    return Variant(v);
}
inline Variant toVariant(const QString &v)
{
    return Variant(v);
}
inline Variant toVariant(const QStringList &v)
{
    return Variant(property_text::fromLines(v));
}

template <class T>
T fromVariant(const Variant &v);
template <>
inline double fromVariant<double>(const Variant &v)
{
    return v.toDouble();
}
template <>
inline int fromVariant<int>(const Variant &v)
{
    return v.toInt();
}
template <>
inline bool fromVariant<bool>(const Variant &v)
{
    return v.toBool();
}
template <>
inline QString fromVariant<QString>(const Variant &v)
{
    return v.toString();
}
template <>
inline QStringList fromVariant<QStringList>(const Variant &v)
{
    return property_text::toLines(v.toString());
}

}  // namespace property_value

// A typed property of any report object: `get` and `set` of type T, stored unless equal to
// `def` (always stored without one).
template <class T>
TfrxPropertyInfo frxProperty(const QString &name, TfrxPropertyKind kind, std::function<T(const TfrxComponent &)> get,
                             std::function<void(TfrxComponent &, T)> set, std::optional<T> def,
                             QStringList identifiers = {})
{
    TfrxPropertyInfo info;
    info.name = name;
    info.kind = kind;
    info.identifiers = std::move(identifiers);
    info.get = [get](const TfrxComponent &o) { return property_value::toVariant(get(o)); };
    if (set)
        info.set = [set](TfrxComponent &o, const Variant &v) { set(o, property_value::fromVariant<T>(v)); };
    if (def) {
        const Variant value = property_value::toVariant(*def);
        info.defaultOf = [value](const TfrxComponent &) { return value; };
    }
    return info;
}

template <class C>
struct PropertyBuilder {
    template <class T>
    using Getter = std::function<T(const C &)>;
    template <class T>
    using Setter = std::function<void(C &, T)>;

    // A property of class C of type T and kind `kind`.
    template <class T>
    static TfrxPropertyInfo make(const QString &name, TfrxPropertyKind kind, Getter<T> get, Setter<T> set,
                                 std::optional<T> def, QStringList identifiers = {})
    {
        std::function<void(TfrxComponent &, T)> setter;
        if (set)
            setter = [set](TfrxComponent &o, T v) { set(static_cast<C &>(o), std::move(v)); };
        return frxProperty<T>(
            name, kind, [get](const TfrxComponent &o) { return get(static_cast<const C &>(o)); }, setter,
            std::move(def), std::move(identifiers));
    }

    static TfrxPropertyInfo Float(const QString &name, Getter<double> get, Setter<double> set,
                                  std::optional<double> def)
    {
        return make<double>(name, TfrxPropertyKind::Float, get, set, def);
    }
    static TfrxPropertyInfo Int(const QString &name, Getter<int> get, Setter<int> set, std::optional<int> def)
    {
        return make<int>(name, TfrxPropertyKind::Integer, get, set, def);
    }
    static TfrxPropertyInfo Bool(const QString &name, Getter<bool> get, Setter<bool> set, std::optional<bool> def)
    {
        return make<bool>(name, TfrxPropertyKind::Boolean, get, set, def);
    }
    static TfrxPropertyInfo Text(const QString &name, Getter<QString> get, Setter<QString> set,
                                 std::optional<QString> def = QString())
    {
        return make<QString>(name, TfrxPropertyKind::Text, get, set, def);
    }
    static TfrxPropertyInfo Color(const QString &name, Getter<int> get, Setter<int> set, std::optional<int> def)
    {
        return make<int>(name, TfrxPropertyKind::Color, get, set, def);
    }
    static TfrxPropertyInfo Enum(const QString &name, Getter<int> get, Setter<int> set, int def, QStringList names)
    {
        return make<int>(name, TfrxPropertyKind::Enumeration, get, set, def, std::move(names));
    }
    static TfrxPropertyInfo Set(const QString &name, Getter<int> get, Setter<int> set, int def, QStringList names)
    {
        return make<int>(name, TfrxPropertyKind::Set, get, set, def, std::move(names));
    }
    static TfrxPropertyInfo Lines(const QString &name, Getter<QStringList> get, Setter<QStringList> set,
                                  std::optional<QStringList> def = QStringList())
    {
        return make<QStringList>(name, TfrxPropertyKind::Lines, get, set, def);
    }
    // A reference to another component, stored by its name.
    static TfrxPropertyInfo Reference(const QString &name, Getter<QString> targetName,
                                      std::function<void(C &, const QString &, const TfrxReferenceResolver &)> link)
    {
        TfrxPropertyInfo info = make<QString>(name, TfrxPropertyKind::Reference, targetName, nullptr, QString());
        info.resolve = [link](TfrxComponent &o, const QString &target, const TfrxReferenceResolver &resolver) {
            link(static_cast<C &>(o), target, resolver);
        };
        return info;
    }
};

// Shorthands for a property P with the getter P() and the setter SetP(value).
#define FRX_FLOAT(C, P, D)                                                                                             \
    PropertyBuilder<C>::Float(                                                                                         \
        QStringLiteral(#P), [](const C &o) { return double(o.P()); }, [](C &o, double v) { o.Set##P(v); }, D)
#define FRX_INT(C, P, D)                                                                                               \
    PropertyBuilder<C>::Int(                                                                                           \
        QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D)
#define FRX_BOOL(C, P, D)                                                                                              \
    PropertyBuilder<C>::Bool(                                                                                          \
        QStringLiteral(#P), [](const C &o) { return bool(o.P()); }, [](C &o, bool v) { o.Set##P(v); }, D)
#define FRX_TEXT(C, P)                                                                                                 \
    PropertyBuilder<C>::Text(                                                                                          \
        QStringLiteral(#P), [](const C &o) { return QString(o.P()); }, [](C &o, QString v) { o.Set##P(v); })
#define FRX_COLOR(C, P, D)                                                                                             \
    PropertyBuilder<C>::Color(                                                                                         \
        QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D)
#define FRX_ENUM(C, P, E, D, ...)                                                                                      \
    PropertyBuilder<C>::Enum(                                                                                          \
        QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(E(v)); }, D,             \
        QStringList{__VA_ARGS__})
#define FRX_SET(C, P, D, ...)                                                                                          \
    PropertyBuilder<C>::Set(                                                                                           \
        QStringLiteral(#P), [](const C &o) { return int(o.P()); }, [](C &o, int v) { o.Set##P(v); }, D,                \
        QStringList{__VA_ARGS__})

}  // namespace vornak
