#include "report/script/script_library.h"

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/number_format.h"
#include "report/script/format_float.h"
#include "report/script/script.h"

#include <cmath>

namespace vornak::script {

namespace {

struct BuiltInType {
    const char *name;
    TfsVarType kind;
};

const BuiltInType builtInTypes[] = {
    {"Byte", TfsVarType::fvtInt},
    {"Word", TfsVarType::fvtInt},
    {"Integer", TfsVarType::fvtInt},
    {"Longint", TfsVarType::fvtInt},
    {"Cardinal", TfsVarType::fvtInt},
    {"TColor", TfsVarType::fvtInt},
    {"Boolean", TfsVarType::fvtBool},
    {"Real", TfsVarType::fvtFloat},
    {"Single", TfsVarType::fvtFloat},
    {"Double", TfsVarType::fvtFloat},
    {"Extended", TfsVarType::fvtFloat},
    {"Currency", TfsVarType::fvtFloat},
    {"TDate", TfsVarType::fvtFloat},
    {"TTime", TfsVarType::fvtFloat},
    {"TDateTime", TfsVarType::fvtFloat},
    {"Char", TfsVarType::fvtChar},
    {"String", TfsVarType::fvtString},
    {"Variant", TfsVarType::fvtVariant},
    {"Pointer", TfsVarType::fvtVariant},
    {"Array", TfsVarType::fvtArray},
    {"Constructor", TfsVarType::fvtConstructor},
};

using Arguments = QList<Variant>;

struct LibraryFunction {
    const char *declaration;
    Variant (*body)(const Arguments &);
};

QString text(const Variant &value)
{
    return value.toString();
}

const LibraryFunction libraryFunctions[] = {
    {"function IntToStr(i: Integer): String",
     [](const Arguments &a) { return Variant(QString::number(a[0].toInt64())); }},
    {"function FloatToStr(e: Extended): String",
     [](const Arguments &a) { return Variant(formatFloatGeneral(a[0].toDouble())); }},
    {"function StrToInt(s: String): Integer",
     [](const Arguments &a) {
         const auto value = parseInteger64(text(a[0]));
         if (!value)
             throw EngineError(QStringLiteral("'%1' is not a valid integer value").arg(text(a[0])));
         return *value >= INT_MIN && *value <= INT_MAX ? Variant(int(*value)) : Variant(*value);
     }},
    {"function StrToFloat(s: String): Extended",
     [](const Arguments &a) {
         const auto value = parseFloat(text(a[0]));
         if (!value)
             throw EngineError(QStringLiteral("'%1' is not a valid floating point value").arg(text(a[0])));
         return Variant(*value);
     }},
    {"function Copy(s: String; From, Count: Integer): String",
     [](const Arguments &a) {
         const QString s = text(a[0]);
         const qint64 from = std::max<qint64>(a[1].toInt64(), 1);
         const qint64 count = std::max<qint64>(a[2].toInt64(), 0);
         return Variant(from > s.size() ? QString()
                                        : s.mid(qsizetype(from - 1), qsizetype(std::min<qint64>(count, s.size()))));
     }},
    {"function Pos(SubStr, s: String): Integer",
     [](const Arguments &a) { return Variant(int(text(a[1]).indexOf(text(a[0])) + 1)); }},
    {"function Length(s: Variant): Integer", [](const Arguments &a) { return Variant(int(text(a[0]).size())); }},
    {"function Trim(s: String): String", [](const Arguments &a) { return Variant(text(a[0]).trimmed()); }},
    {"function UpperCase(s: String): String", [](const Arguments &a) { return Variant(text(a[0]).toUpper()); }},
    {"function LowerCase(s: String): String", [](const Arguments &a) { return Variant(text(a[0]).toLower()); }},
    {"function Chr(i: Integer): Char",
     [](const Arguments &a) { return Variant(QString(QChar(char16_t(a[0].toInt())))); }},
    {"function Ord(ch: Char): Integer",
     [](const Arguments &a) {
         const QString s = text(a[0]);
         return Variant(s.isEmpty() ? 0 : int(s[0].unicode()));
     }},
    {"function Round(e: Extended): Integer",
     [](const Arguments &a) { return Variant(qint64(roundHalfEven(a[0].toDouble()))); }},
    {"function Trunc(e: Extended): Integer",
     [](const Arguments &a) { return Variant(qint64(std::trunc(a[0].toDouble()))); }},
    {"function Int(e: Extended): Extended", [](const Arguments &a) { return Variant(std::trunc(a[0].toDouble())); }},
    {"function Frac(e: Extended): Extended",
     [](const Arguments &a) {
         const double e = a[0].toDouble();
         return Variant(e - std::trunc(e));
     }},
    {"function Abs(e: Variant): Variant",
     [](const Arguments &a) {
         const Variant &v = a[0];
         if (v.type() == Variant::Type::Integer)
             return Variant(std::abs(qint64(v.toInt())));
         if (v.type() == Variant::Type::Int64)
             return Variant(v.toInt64() < 0 ? -v.toInt64() : v.toInt64());
         return Variant(std::fabs(v.toDouble()));
     }},
    {"function Sqrt(e: Extended): Extended", [](const Arguments &a) { return Variant(std::sqrt(a[0].toDouble())); }},
    {"function DateToStr(d: TDateTime): String",
     [](const Arguments &a) { return Variant(date_time::toDateText(a[0].toDateTime())); }},
    {"function DateTimeToStr(d: TDateTime): String",
     [](const Arguments &a) { return Variant(date_time::toText(a[0].toDateTime())); }},
    {"function FormatFloat(Fmt: String; Value: Extended): String",
     [](const Arguments &a) { return Variant(formatFloat(text(a[0]), a[1].toDouble())); }},
    {"function FormatDateTime(Fmt: String; d: TDateTime): String",
     [](const Arguments &a) { return Variant(date_time::format(a[1].toDateTime(), text(a[0]))); }},
    {"function VarIsNull(v: Variant): Boolean", [](const Arguments &a) { return Variant(a[0].isNull()); }},
};

}  // namespace

void registerLibrary(TfsScript &script)
{
    for (const BuiltInType &type : builtInTypes)
        script.AddType(QString::fromLatin1(type.name), type.kind);
    script.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
    script.AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false));
    script.AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0));
    script.AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant());
    for (const LibraryFunction &function : libraryFunctions) {
        const auto body = function.body;
        script.AddMethod(QString::fromLatin1(function.declaration),
                         [body](const QString &, const Arguments &arguments) { return body(arguments); });
    }
}

}  // namespace vornak::script
