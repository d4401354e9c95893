#pragma once

#include "platform/variant.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

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

// One stored property of a report object, as text: how it is read, written and whether it
// differs from its default. A reference property is written by `resolve` after the whole
// template has been read; `read` gives the name of the referenced component.
struct TfrxPropertyInfo {
    QString name;
    std::function<QString(const TfrxComponent &)> read;
    std::function<void(TfrxComponent &, const QString &)> write; // raises EngineError on bad text
    std::function<bool(const TfrxComponent &)> isStored;
    std::function<void(TfrxComponent &, const QString &, const TfrxReferenceResolver &)> resolve;
    // The value as scripts see it (typed), when the property has one; otherwise its text.
    std::function<Variant(const TfrxComponent &)> value;
    std::function<void(TfrxComponent &, const Variant &)> setValue;

    bool isReference() const { return bool(resolve); }
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
int toColor(const QString &text); // a number or a colour name such as clBlack
QString fromEnum(int value, const QStringList &names);
int toEnum(const QString &text, const QStringList &names);
int toSet(const QString &text, const QStringList &names); // bit n = names[n]
QString fromLines(const QStringList &lines);  // joined with CR LF
QStringList toLines(const QString &text);     // split at CR LF exactly

} // namespace property_text

} // namespace vornak
