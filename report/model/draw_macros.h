#pragma once

// The two placeholders a text object's template may print for the drawing to fill in: the page
// count "[TotalPages#]" and the copy name "[CopyName#]". Only placeholders the template itself
// produced are filled in: a value from the data that reads the same prints as it is. A text
// object therefore remembers, for each placeholder, which occurrence in its printed text (any
// letter case) is the template's first one.

#include <QString>
#include <QStringView>

namespace vornak {

struct TfrxDrawMacros {
    static constexpr int None = -1;
    int TotalPages = None;  // occurrence number (0: the first) of the template's page count
    int CopyName = None;    // the same for the copy name

    bool isEmpty() const { return TotalPages == None && CopyName == None; }
    bool operator==(const TfrxDrawMacros &) const = default;
};

// The placeholders as the template's expressions print them.
QString frxTotalPagesMacro();
QString frxCopyNameMacro();

// The number of occurrences of `macro` in `text`, ignoring case.
int frxCountMacro(QStringView text, QStringView macro);

// The placeholders of a template text printed as it is (no expressions evaluated): the first
// occurrence of each, when there is one.
TfrxDrawMacros frxLiteralDrawMacros(QStringView text);

// `text` with the template's placeholders named by `macros` replaced by the page count and the
// copy name.
QString frxFillDrawMacros(const QString &text, const TfrxDrawMacros &macros, const QString &totalPages,
                          const QString &copyName);

}  // namespace vornak
