#pragma once

#include "platform/variant.h"
#include "report/model/font.h"
#include "report/model/frame.h"

#include <QList>
#include <QString>

namespace vornak {

// A report variable: a name and a value (a text value is an expression, evaluated on use).
struct TfrxVariable {
    QString Name;
    Variant Value;
};

// The report's variables (`Variables`), names compared ignoring case.
class TfrxVariables {
public:
    int Count() const { return int(items_.size()); }
    const TfrxVariable &Items(int index) const { return items_.at(index); }
    int IndexOf(const QString &name) const;
    // Sets the variable, adding it when it does not exist.
    void SetVariable(const QString &name, const Variant &value);
    Variant Value(const QString &name) const;  // Null when absent
    void Clear() { items_.clear(); }

private:
    QList<TfrxVariable> items_;
};

// A named style of the report (`Style`).
struct TfrxStyleItem {
    QString Name;
    TColor Color = clTransparent;
    TFont Font;
    TfrxFrame Frame;
};

using TfrxStyles = QList<TfrxStyleItem>;

}  // namespace vornak
