#include "report/model/report_script_names.h"

#include "report/script/script.h"

namespace vornak {

ReportScriptVariables registerReportNames(TfsScript &script, const ReportScriptNames &names)
{
    script.AddObject(QStringLiteral("Report"), names.report);
    script.AddObject(QStringLiteral("Engine"), names.engine);
    script.AddObject(QStringLiteral("Outline"), names.outline);

    ReportScriptVariables variables;
    variables.value = script.AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"));
    if (!script.FindType(QStringLiteral("TfrxView")))
        script.AddClass(QStringLiteral("TfrxView"));
    variables.self = script.AddVariable(QStringLiteral("Self"), QStringLiteral("TfrxView"));
    variables.self->setValue(Variant());

    const std::pair<const char *, const ScriptCallback *> functions[] = {
        {"function Get(Name: String): Variant", &names.get},
        {"procedure Set(Name: String; Value: Variant)", &names.set},
        {"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", &names.iif},
        {"macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", &names.sum},
        {"macrofunction AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", &names.avg},
        {"macrofunction MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", &names.min},
        {"macrofunction MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", &names.max},
        {"macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", &names.count},
    };
    for (const auto &[declaration, callback] : functions)
        script.AddMethod(QString::fromLatin1(declaration),
                         *callback ? *callback
                                   : ScriptCallback([](const QString &, const QList<Variant> &) { return Variant(); }));
    return variables;
}

}  // namespace vornak
