#pragma once

#include "report/script/script_items.h"
#include "report/script/script_tokenizer.h"

#include <memory>

namespace vornak {
class EngineError;
class TfsScript;
}  // namespace vornak

namespace vornak::script {

// Reads the declaration of a host procedure or function given to AddMethod, such as
// "function Name(A: T; var B: T; C: T = 1): T", into a procedure of the script without a body.
// A small reader of its own over the script tokenizer: the declaration is not a script, and the
// grammar document has no rule for it. Types and named default values are looked up in `script`.
// Raises EngineError naming the declaration when it is malformed.
class DeclarationReader {
public:
    static std::unique_ptr<ScriptProcedure> read(TfsScript &script, const QString &declaration);

private:
    DeclarationReader(TfsScript &script, const QString &declaration, const Grammar &grammar);

    std::unique_ptr<ScriptProcedure> declaration();
    // [ "var" | "const" ] name { "," name } ":" type [ "=" literal ]
    void group(std::vector<ScriptParameter> &parameters);
    // [ "-" ] number | string | the name of a constant
    Variant literal();
    ScriptType type();
    QString word();
    // Reads `expected` when it comes next; otherwise reads nothing.
    bool punctuation(char16_t expected);
    EngineError malformed() const;

    TfsScript &script_;
    const QString &declaration_;  // for the error message
    Tokenizer tokens_;
};

}  // namespace vornak::script
