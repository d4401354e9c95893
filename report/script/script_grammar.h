#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace vornak::script {

// The kinds of element a grammar rule is made of.
enum class ElementKind {
    Char,
    Keyword,
    Ident,
    Number,
    String,
    FrString,
    Eol,
    Empty,  // terminals
    Sequence,
    Switch,
    OptionalSwitch,
    Optional,
    Loop,
    OptionalLoop,  // structure
    RuleReference,
};

struct GrammarElement {
    ElementKind kind = ElementKind::Sequence;
    QString text;     // the character or keyword to match; a loop's separator
    QString node;     // name of the syntax node this element produces
    QString add;      // name of the leaf recording the matched token
    QString addText;  // the leaf's text instead of the token, when hasAddText
    bool hasAddText = false;
    QString error;                         // error text recorded when the element fails (empty: none)
    bool term = false;                     // its failure may end an enclosing loop without an error
    bool skipBlanks = true;                // a char with skip="0" must follow without blanks
    bool discardLoopError = false;         // a loop with skip="1"
    const GrammarElement *rule = nullptr;  // the rule a reference names
    std::vector<std::unique_ptr<GrammarElement>> children;
};

// Tokenizer settings of a language.
struct ParserSettings {
    QStringList lineComments;
    QList<std::pair<QString, QString>> blockComments;
    QString stringQuotes = QStringLiteral("'");
    QString hexSequence = QStringLiteral("$");
    QString identChars;
    QString specStrChar = QStringLiteral("#");
    QString skipChar;
    bool declareVars = true;
    bool skipEol = true;
    bool caseSensitive = false;
};

// A language: its tokenizer settings, keywords, error texts and rules, read from a grammar
// document (XML). The rule "program" is where parsing starts.
class Grammar {
public:
    // Reads a grammar document; on failure returns nullptr and sets `error`.
    static std::unique_ptr<Grammar> load(const QString &xml, QString *error);

    const QString &name() const { return name_; }
    const ParserSettings &parser() const { return parser_; }
    bool isKeyword(QStringView word) const;
    const GrammarElement *rule(const QString &name) const;
    const GrammarElement *startRule() const { return rule(QStringLiteral("program")); }
    QString errorText(const QString &key) const { return errors_.value(key); }
    // Type aliases of the language (alias in lower case -> type name).
    const QHash<QString, QString> &typeAliases() const { return typeAliases_; }

private:
    QString name_;
    ParserSettings parser_;
    std::unordered_set<std::string> keywords_;  // lower case
    int longestKeyword_ = 0;
    QHash<QString, QString> errors_;
    QHash<QString, QString> typeAliases_;
    std::map<QString, std::unique_ptr<GrammarElement>> rules_;

    friend class GrammarReader;
};

// The registered languages, found by name ignoring case. "PascalScript" is built in (its
// grammar document is a resource of the program).
const Grammar *findLanguage(const QString &name);
// Registers a further language from its grammar document; false with `error` when it is broken.
bool registerLanguage(const QString &xml, QString *error);

}  // namespace vornak::script
