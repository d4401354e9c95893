// The declaration of a host procedure or function, read token by token:
//   declaration -> ("procedure" | "function" | "macrofunction") name [ "(" groups ")" ]
//                  [ ":" type ] [ ";" ]
//   groups      -> group { ";" group }
//   group       -> [ "var" | "const" ] name { "," name } ":" type [ "=" literal ]
//   literal     -> [ "-" ] number | string | the name of a constant
#include "report/script/declaration_reader.h"

#include "platform/errors.h"
#include "report/script/report_text.h"
#include "report/script/script.h"
#include "report/script/script_grammar.h"
#include "report/script/script_tokenizer.h"

namespace vornak::script {

DeclarationReader::DeclarationReader(TfsScript &script, const QString &declaration, const Grammar &grammar)
    : script_(script),
      declaration_(declaration),
      tokens_(declaration, grammar.parser(), grammar)
{
}

std::unique_ptr<ScriptProcedure> DeclarationReader::declaration()
{
    const QString kind = word().toLower();
    const bool macro = kind == u"macrofunction";
    const bool isFunction = macro || kind == u"function";
    if (!isFunction && kind != u"procedure")
        throw malformed();
    const QString name = word();
    if (name.isEmpty())
        throw malformed();
    std::vector<ScriptParameter> parameters;
    if (punctuation(u'(') && !punctuation(u')')) {
        do {
            group(parameters);
        } while (punctuation(u';'));
        if (!punctuation(u')'))
            throw malformed();
    }
    ScriptType result;
    if (isFunction) {
        if (!punctuation(u':'))
            throw malformed();
        result = type();
    }
    punctuation(u';');
    tokens_.skipBlanks();
    if (!tokens_.atEnd())
        throw malformed();
    auto procedure = std::make_unique<ScriptProcedure>(name, std::move(parameters), isFunction, result);
    procedure->setMacro(macro);
    return procedure;
}

void DeclarationReader::group(std::vector<ScriptParameter> &parameters)
{
    QString modifier = word();
    const bool byReference = modifier.compare(u"var", Qt::CaseInsensitive) == 0;
    if (byReference || modifier.compare(u"const", Qt::CaseInsensitive) == 0)
        modifier = word();
    QStringList names{modifier};
    while (punctuation(u','))
        names.append(word());
    if (names.contains(QString()) || !punctuation(u':'))
        throw malformed();
    const ScriptType parameterType = type();
    const bool hasDefault = punctuation(u'=');
    const Variant defaultValue = hasDefault ? literal() : Variant();
    for (const QString &parameterName : std::as_const(names))
        parameters.push_back({parameterName, parameterType, byReference, hasDefault, defaultValue});
}

Variant DeclarationReader::literal()
{
    const bool negative = punctuation(u'-');
    tokens_.skipBlanks();
    const QString number = tokens_.readNumber();
    if (!number.isEmpty()) {
        bool isInteger = false;
        const int value = number.toInt(&isInteger);
        return isInteger ? Variant(negative ? -value : value) : Variant(number.toDouble() * (negative ? -1 : 1));
    }
    bool isString = false;
    const QString text = tokens_.readString(&isString);
    if (isString)
        return Variant(text);
    const QString name = word();
    if (const ScriptItem *constant = script_.Find(name); constant && constant->kind() == ScriptItem::Kind::Constant)
        return static_cast<const ScriptConstant *>(constant)->value();
    throw malformed();
}

ScriptType DeclarationReader::type()
{
    const QString name = word();
    if (name.isEmpty())
        throw malformed();
    return script_.requireType(name);
}

QString DeclarationReader::word()
{
    tokens_.skipBlanks();
    return tokens_.readWord();
}

bool DeclarationReader::punctuation(char16_t expected)
{
    tokens_.skipBlanks();
    const int start = tokens_.position();
    if (tokens_.readChar() == QChar(expected))
        return true;
    tokens_.setPosition(start);
    return false;
}

EngineError DeclarationReader::malformed() const
{
    return EngineError(reportText("badFunctionDeclaration").arg(declaration_));
}

std::unique_ptr<ScriptProcedure> DeclarationReader::read(TfsScript &script, const QString &declaration)
{
    const Grammar *grammar = findLanguage(QStringLiteral("PascalScript"));
    if (!grammar)
        throw EngineError(reportText("badLanguageDefinition"));
    return DeclarationReader(script, declaration, *grammar).declaration();
}

}  // namespace vornak::script
