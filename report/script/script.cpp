#include "report/script/script.h"

#include "platform/errors.h"
#include "report/script/declaration_reader.h"
#include "report/script/report_text.h"
#include "report/script/script_builder.h"
#include "report/script/script_code.h"
#include "report/script/script_library.h"
#include "report/script/script_parser.h"
#include "report/script/script_tokenizer.h"

namespace vornak {

namespace {

const QString languageDirective = QStringLiteral("#language");

}  // namespace

TfsScript &TfsScript::builtIns()
{
    static TfsScript *scope = [] {
        auto *script = new TfsScript(BuiltInsTag{});
        script::registerLibrary(*script);
        return script;
    }();
    return *scope;
}

TfsScript::TfsScript(BuiltInsTag)
    : flags_(std::make_unique<script::RunFlags>()),
      isBuiltIns_(true)
{
}

TfsScript::TfsScript(TfsScript *parent)
    : parent_(parent),
      flags_(std::make_unique<script::RunFlags>())
{
    builtIns();
}

TfsScript::~TfsScript()
{
    // Compiled code refers to items: drop it first.
    main_.reset();
    items_.clear();
}

void TfsScript::SetText(const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ = normalized.split(u'\n');
}

void TfsScript::SetParent(TfsScript *parent)
{
    for (const TfsScript *ancestor = parent; ancestor; ancestor = ancestor->parent_) {
        if (ancestor == this)
            throw EngineError(reportText("parentScriptCycle"));
    }
    parent_ = parent;
}

bool TfsScript::Compile()
{
    errorMsg_.clear();
    errorPos_.clear();
    main_.reset();
    statementCount_ = 0;

    const QString text = lines_.join(u'\n');
    QString language = syntaxType_;
    int start = 0;
    if (text.startsWith(languageDirective, Qt::CaseInsensitive)) {
        const qsizetype lineEnd = text.indexOf(u'\n');
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd;
        language = text.mid(languageDirective.size(), end - languageDirective.size()).trimmed();
        start = int(lineEnd < 0 ? text.size() : lineEnd + 1);
    }
    const script::Grammar *grammar = script::findLanguage(language);
    if (!grammar) {
        errorMsg_ = reportText("languageNotFound").arg(language);
        return false;
    }

    script::ParseResult parsed = script::parse(*grammar, text, start);
    if (!parsed.ok) {
        errorMsg_ = parsed.errorMessage;
        errorPos_ = script::textPosition(text, parsed.errorOffset);
        return false;
    }

    // A failed build leaves no declarations of this text behind.
    const size_t itemsBefore = items_.size();
    try {
        script::ScriptBuilder builder(*this, text, *grammar);
        main_ = builder.buildProgram(parsed.tree, &statementCount_);
    } catch (const script::BuildError &error) {
        removeItemsAfter(itemsBefore);
        errorMsg_ = error.message;
        errorPos_ = script::textPosition(text, error.offset);
        return false;
    }
    return true;
}

void TfsScript::Execute()
{
    if (!main_)
        return;
    script::RunFlags &flags = *flags_;
    flags.running = true;
    flags.terminated = false;
    flags.exitCalled = false;
    struct Finish {
        script::RunFlags &flags;
        ~Finish()
        {
            flags.running = false;
            flags.terminated = false;
            flags.exitCalled = false;
        }
    } finish{flags};
    try {
        main_->execute();
    } catch (const ConversionError &error) {
        throw EngineError(error.message());
    }
}

bool TfsScript::Run()
{
    if (!Compile())
        return false;
    Execute();
    return true;
}

void TfsScript::Terminate()
{
    flags_->terminated = true;
}

int TfsScript::StatementCount() const
{
    return statementCount_;
}

bool TfsScript::IsRunning() const
{
    return flags_->running;
}

bool TfsScript::IsTerminated() const
{
    return flags_->terminated;
}

ScriptItem *TfsScript::FindLocal(const QString &name) const
{
    return index_.value(key(name));
}

ScriptItem *TfsScript::Find(const QString &name) const
{
    const QString folded = key(name);
    for (const TfsScript *script = this; script; script = script->parent_) {
        if (ScriptItem *item = script->index_.value(folded))
            return item;
    }
    return isBuiltIns_ ? nullptr : builtIns().index_.value(folded);
}

const ScriptTypeItem *TfsScript::FindType(const QString &name) const
{
    const ScriptItem *item = Find(name);
    return item && item->kind() == ScriptItem::Kind::Type ? static_cast<const ScriptTypeItem *>(item) : nullptr;
}

ScriptProcedure *TfsScript::FindProcedure(const QString &name) const
{
    ScriptItem *item = Find(name);
    return item && item->kind() == ScriptItem::Kind::Procedure ? static_cast<ScriptProcedure *>(item) : nullptr;
}

ScriptProcedure *TfsScript::EventHandler(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    ScriptProcedure *procedure = FindProcedure(name);
    if (!procedure)
        throw EngineError(reportText("undeclaredIdentifier").arg(name));
    if (procedure->isFunction())
        throw EngineError(reportText("handlerMustBeProcedure"));
    return procedure;
}

Variant TfsScript::CallFunction(const QString &name, const QList<Variant> &arguments)
{
    ScriptProcedure *procedure = FindProcedure(name);
    if (!procedure)
        throw EngineError(reportText("undeclaredIdentifier").arg(name));
    return procedure->Call(arguments);
}

void TfsScript::addItem(std::unique_ptr<ScriptItem> item)
{
    item->setAdder(adder_);
    index_.insert(key(item->name()), item.get());
    items_.push_back(std::move(item));
}

void TfsScript::rebuildIndex()
{
    ++removals_;
    index_.clear();
    for (const auto &item : items_)
        index_.insert(key(item->name()), item.get());
}

void TfsScript::removeItemsAfter(size_t count)
{
    items_.resize(std::min(count, items_.size()));
    rebuildIndex();
}

ScriptObjectItem *TfsScript::AddObject(const QString &name, ScriptObject *object)
{
    auto item = std::make_unique<ScriptObjectItem>(name, object);
    ScriptObjectItem *added = item.get();
    addItem(std::move(item));
    return added;
}

ScriptType TfsScript::requireType(const QString &typeName) const
{
    const ScriptTypeItem *type = FindType(typeName);
    if (!type)
        throw EngineError(reportText("unknownType").arg(typeName));
    return {type->type().kind, typeName};
}

ScriptVariable *TfsScript::AddVariable(const QString &name, const QString &typeName, const Variant &value)
{
    auto item = std::make_unique<ScriptVariable>(name, requireType(typeName), value);
    ScriptVariable *added = item.get();
    addItem(std::move(item));
    return added;
}

ScriptConstant *TfsScript::AddConst(const QString &name, const QString &typeName, const Variant &value)
{
    auto item = std::make_unique<ScriptConstant>(name, requireType(typeName), value);
    ScriptConstant *added = item.get();
    addItem(std::move(item));
    return added;
}

ScriptTypeItem *TfsScript::AddType(const QString &name, TfsVarType kind)
{
    auto item = std::make_unique<ScriptTypeItem>(name, kind);
    ScriptTypeItem *added = item.get();
    addItem(std::move(item));
    return added;
}

ScriptTypeItem *TfsScript::AddClass(const QString &className)
{
    return AddType(className, TfsVarType::fvtClass);
}

ScriptProcedure *TfsScript::AddMethod(const QString &declaration, ScriptCallback callback)
{
    std::unique_ptr<ScriptProcedure> procedure = script::DeclarationReader::read(*this, declaration);
    procedure->setCallback(std::move(callback));
    ScriptProcedure *added = procedure.get();
    addItem(std::move(procedure));
    return added;
}

void TfsScript::ClearItems(const void *adder)
{
    if (std::erase_if(items_, [adder](const std::unique_ptr<ScriptItem> &item) { return item->adder() == adder; }) >
        0) {
        main_.reset();
        statementCount_ = 0;
    }
    rebuildIndex();
}

void TfsScript::KeepRegisteredItems()
{
    for (const auto &item : items_)
        item->setPermanent(true);
}

void TfsScript::Clear()
{
    main_.reset();
    statementCount_ = 0;
    std::erase_if(items_, [](const std::unique_ptr<ScriptItem> &item) { return !item->isPermanent(); });
    rebuildIndex();
    errorMsg_.clear();
    errorPos_.clear();
}

}  // namespace vornak
