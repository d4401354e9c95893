#include "report/model/draw_macros.h"

#include <utility>

namespace vornak {

namespace {

// The position of occurrence `number` of `macro` in `text`; -1 when there are fewer.
qsizetype occurrenceAt(QStringView text, QStringView macro, int number)
{
    qsizetype at = -1;
    for (int i = 0; i <= number; ++i) {
        at = text.indexOf(macro, at < 0 ? 0 : at + macro.size(), Qt::CaseInsensitive);
        if (at < 0)
            return -1;
    }
    return at;
}

}  // namespace

QString frxTotalPagesMacro()
{
    return QStringLiteral("[TotalPages#]");
}

QString frxCopyNameMacro()
{
    return QStringLiteral("[CopyName#]");
}

int frxCountMacro(QStringView text, QStringView macro)
{
    int count = 0;
    for (qsizetype at = text.indexOf(macro, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(macro, at + macro.size(), Qt::CaseInsensitive))
        ++count;
    return count;
}

TfrxDrawMacros frxLiteralDrawMacros(QStringView text)
{
    TfrxDrawMacros macros;
    if (text.contains(frxTotalPagesMacro(), Qt::CaseInsensitive))
        macros.TotalPages = 0;
    if (text.contains(frxCopyNameMacro(), Qt::CaseInsensitive))
        macros.CopyName = 0;
    return macros;
}

QString frxFillDrawMacros(const QString &text, const TfrxDrawMacros &macros, const QString &totalPages,
                          const QString &copyName)
{
    // A placeholder holds no part of another, so both are found first and filled in from the
    // right: filling one never moves the other.
    struct Fill {
        qsizetype at;
        qsizetype length;
        const QString *value;
    };
    const QString total = frxTotalPagesMacro(), copy = frxCopyNameMacro();
    Fill fills[2] = {
        {macros.TotalPages < 0 ? -1 : occurrenceAt(text, total, macros.TotalPages), total.size(), &totalPages},
        {macros.CopyName < 0 ? -1 : occurrenceAt(text, copy, macros.CopyName), copy.size(), &copyName},
    };
    if (fills[0].at < fills[1].at)
        std::swap(fills[0], fills[1]);
    QString result = text;
    for (const Fill &fill : fills)
        if (fill.at >= 0)
            result.replace(fill.at, fill.length, *fill.value);
    return result;
}

}  // namespace vornak
