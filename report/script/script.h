#pragma once

#include "report/script/script_items.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vornak {

class ScriptObject;
namespace script {
struct RunFlags;
class Statement;
class ScriptBuilder;
class DeclarationReader;
}  // namespace script

// A script: named items (variables, constants, types, procedures and functions, objects), a
// compiled main block, and a parent script consulted for names it does not have itself.
// Compiling adds the script's declarations to its items; the items a caller registered are
// kept until ClearItems or Clear removes them. Compiled code refers to the items it uses,
// also to those of the parent scripts: clear a child script before the parent removes them.
class TfsScript {
public:
    explicit TfsScript(TfsScript *parent = nullptr);
    ~TfsScript();
    TfsScript(const TfsScript &) = delete;
    TfsScript &operator=(const TfsScript &) = delete;

    // Source and language
    const QStringList &Lines() const { return lines_; }
    void SetLines(const QStringList &lines) { lines_ = lines; }
    void SetText(const QString &text);  // split at line breaks
    const QString &SyntaxType() const { return syntaxType_; }
    void SetSyntaxType(const QString &name) { syntaxType_ = name; }
    TfsScript *Parent() const { return parent_; }
    void SetParent(TfsScript *parent);  // a parent that would close a cycle raises EngineError

    // Compiling and running
    bool Compile();
    void Execute();    // raises EngineError
    bool Run();        // Compile, then Execute when it succeeded
    void Terminate();  // stops a running main block or procedure at the next statement
    const QString &ErrorMsg() const { return errorMsg_; }
    const QString &ErrorPos() const { return errorPos_; }
    int StatementCount() const;  // statements of the main block
    bool IsRunning() const;
    bool IsTerminated() const;
    bool MainProg() const { return mainProg_; }
    void SetMainProg(bool mainProg) { mainProg_ = mainProg; }

    // Items
    ScriptItem *Find(const QString &name) const;
    ScriptItem *FindLocal(const QString &name) const;
    // A procedure or function by name (through the parents); nullptr when there is none. The
    // pointer stays valid until the item is removed: keep it to call it often.
    ScriptProcedure *FindProcedure(const QString &name) const;
    // The procedure a script event names (an object's OnBeforePrint and the like): nullptr for
    // an empty name; EngineError when the name is not declared or names a function.
    ScriptProcedure *EventHandler(const QString &name) const;
    // Calls a procedure or function by name; EngineError when there is none.
    Variant CallFunction(const QString &name, const QList<Variant> &arguments = {});

    // Registration. Items remember the current adder. A type name unknown to the script raises
    // EngineError ("Неизвестный тип: ..."), and so does a malformed method declaration.
    ScriptObjectItem *AddObject(const QString &name, ScriptObject *object);
    ScriptVariable *AddVariable(const QString &name, const QString &typeName, const Variant &value = Variant());
    ScriptConstant *AddConst(const QString &name, const QString &typeName, const Variant &value);
    ScriptTypeItem *AddType(const QString &name, TfsVarType kind);
    ScriptTypeItem *AddClass(const QString &className);
    // `declaration` as written in the language: "function Get(Name: String): Variant",
    // "procedure Set(Name: String; Value: Variant)", or "macrofunction SUM(Expr: Variant;
    // Band: Variant = 0): Variant" (arguments then arrive as their source texts).
    ScriptProcedure *AddMethod(const QString &declaration, ScriptCallback callback);

    // The object whose additions are being made (nullptr: none).
    void SetAdder(const void *adder) { adder_ = adder; }
    const void *Adder() const { return adder_; }
    // Removes the items `adder` added (and the compiled main block, which may use them).
    void ClearItems(const void *adder);
    // Removes every item except the permanent ones, the compiled main block and the error
    // fields (the built-in types, constants and functions stay reachable).
    void Clear();
    // Makes the items registered so far permanent: what the owner registers once, when it
    // creates the script (the report's unit constants), survives Clear like the library.
    void KeepRegisteredItems();

    // Counts the removals of items (ClearItems, Clear, a failed compile): a holder of item
    // pointers compares it to know they are still there.
    quint64 Removals() const { return removals_; }

    // The type of that name (through the parents and the built-ins); nullptr when unknown.
    const ScriptTypeItem *FindType(const QString &name) const;

private:
    friend class script::ScriptBuilder;
    friend class script::DeclarationReader;

    struct BuiltInsTag {};
    explicit TfsScript(BuiltInsTag);
    // The types, constants and functions every script sees after its own items and its parents'.
    static TfsScript &builtIns();
    static QString key(const QString &name) { return name.toCaseFolded(); }
    ScriptType requireType(const QString &typeName) const;  // EngineError when unknown
    void addItem(std::unique_ptr<ScriptItem> item);
    void removeItemsAfter(size_t count);
    void rebuildIndex();

    QStringList lines_;
    QString syntaxType_ = QStringLiteral("PascalScript");
    TfsScript *parent_ = nullptr;
    std::vector<std::unique_ptr<ScriptItem>> items_;
    QHash<QString, ScriptItem *> index_;  // the last added item of each name
    std::unique_ptr<script::Statement> main_;
    int statementCount_ = 0;
    std::unique_ptr<script::RunFlags> flags_;
    QString errorMsg_;
    QString errorPos_;
    const void *adder_ = nullptr;
    bool mainProg_ = true;
    quint64 removals_ = 0;
    bool isBuiltIns_ = false;
};

}  // namespace vornak
