#pragma once

#include "report/script/script_items.h"

namespace vornak {

class ScriptObject;
class TfsScript;

// What the report puts into its script before compiling it: three objects and the eight
// functions of its expressions (Get, Set, IIF and the aggregates SUM, AVG, MIN, MAX, COUNT).
struct ReportScriptNames {
    ScriptObject *report = nullptr;
    ScriptObject *engine = nullptr;
    ScriptObject *outline = nullptr;
    ScriptCallback get;    // function Get(Name: String): Variant
    ScriptCallback set;    // procedure Set(Name: String; Value: Variant)
    ScriptCallback iif;    // macro function: its arguments arrive as source texts
    ScriptCallback sum;    // macro function
    ScriptCallback avg;    // macro function
    ScriptCallback min;    // macro function
    ScriptCallback max;    // macro function
    ScriptCallback count;  // macro function
};

// The variables the report keeps setting while it prints.
struct ReportScriptVariables {
    ScriptVariable *value = nullptr;  // "Value": the value of the text object being processed
    ScriptVariable *self = nullptr;   // "Self": the view being printed (its object pointer)
};

// Registers, in this order and under the script's current adder: "Report", "Engine",
// "Outline", the variables "Value" (Variant, Null) and "Self" (TfrxView, Null), and the eight
// functions. The class "TfrxView" is registered first when the script does not know it.
ReportScriptVariables registerReportNames(TfsScript &script, const ReportScriptNames &names);

}  // namespace vornak
