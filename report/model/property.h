#pragma once

#include "platform/variant.h"

#include <functional>
#include <QList>
#include <QString>
#include <QStringList>

namespace vornak {

class TfrxComponent;
class TfrxDataSet;
class TfrxCustomPreview;

// Finds the components a stored reference names, once a whole template has been read.
class TfrxReferenceResolver {
public:
    virtual ~TfrxReferenceResolver() = default;
    virtual TfrxComponent *FindReportObject(const QString &name) const = 0;
    virtual TfrxDataSet *FindDataSet(const QString &name) const = 0;
    virtual TfrxCustomPreview *FindPreview(const QString &name) const = 0;
};

// The kinds of stored property values; the kind decides the value type and the text form.
enum class TfrxPropertyKind {
    Float,        // double
    Integer,      // int
    Boolean,      // bool
    Text,         // QString
    Color,        // int, written as a colour name or number
    Enumeration,  // int, written as its identifier
    Set,          // int bits, written as their sum, read also as identifiers in brackets
    Lines,        // the lines joined by CR LF, as one text
    Reference,    // the name of another component, resolved after a whole template is read
};

// One stored property of a report object: its kind, typed getter and setter and default. The
// template reader and writer, Assign, the script and the component text form of prepared pages
// all go through it. Values are Variants of the kind's type (see TfrxPropertyKind).
struct TfrxPropertyInfo {
    QString name;
    TfrxPropertyKind kind = TfrxPropertyKind::Text;
    QStringList identifiers;  // the values of an enumeration, the bits of a set
    std::function<Variant(const TfrxComponent &)> get;
    std::function<void(TfrxComponent &, const Variant &)> set;  // not for a reference
    // The value the property is not stored with (it may depend on the object, as a frame side
    // follows its frame); empty: always stored.
    std::function<Variant(const TfrxComponent &)> defaultOf;
    // When the property is stored at all (a font only without ParentFont); empty: always.
    std::function<bool(const TfrxComponent &)> storedWhen;
    // Links a reference once the component it names can be found.
    std::function<void(TfrxComponent &, const QString &, const TfrxReferenceResolver &)> resolve;

    bool isReference() const { return kind == TfrxPropertyKind::Reference; }
    // The typed value; setting converts the given value to the kind's type (EngineError when
    // it cannot be).
    Variant value(const TfrxComponent &object) const { return get(object); }
    void setValue(TfrxComponent &object, const Variant &value) const;
    // The text form (see template_reader.h); writing raises EngineError on bad text.
    QString read(const TfrxComponent &object) const { return text(value(object)); }
    QString text(const Variant &value) const;
    // Whether two values of the property have the same text form; equal values are recognised
    // without writing either.
    bool sameText(const Variant &a, const Variant &b) const;
    void write(TfrxComponent &object, const QString &text) const;
    // Whether the object stores the property at all (Assign copies exactly these).
    bool isStoredAtAll(const TfrxComponent &object) const { return !storedWhen || storedWhen(object); }
    // Whether a template stores it: stored at all and not at its default.
    bool isStored(const TfrxComponent &object) const;
};

using TfrxPropertyList = QList<TfrxPropertyInfo>;

const TfrxPropertyInfo *findProperty(const TfrxPropertyList &list, const QString &name);

// Text forms of property values. Numbers use a full stop and the shortest form that reads
// back to the same value; enumerations are written as identifiers; sets as decimal bit sums
// and read from either a bit sum or identifiers in brackets, such as "[ftLeft,ftTop]".
namespace property_text {

QString fromFloat(double value);
double toFloat(const QString &text);
QString fromInt(qint64 value);
int toInt(const QString &text);
QString fromBool(bool value);
bool toBool(const QString &text);
QString fromColor(int color);
int toColor(const QString &text);  // a number or a colour name such as clBlack
QString fromEnum(int value, const QStringList &names);
int toEnum(const QString &text, const QStringList &names);
int toSet(const QString &text, const QStringList &names);  // bit n = names[n]
QString fromLines(const QStringList &lines);               // joined with CR LF
QStringList toLines(const QString &text);                  // split at CR LF exactly

}  // namespace property_text

}  // namespace vornak
