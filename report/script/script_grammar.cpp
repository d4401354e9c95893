#include "report/script/script_grammar.h"

#include "report/script/report_text.h"

#include <QFile>
#include <QXmlStreamReader>

#include <map>

static void initScriptResources()
{
    Q_INIT_RESOURCE(script_resources);
}

namespace vornak::script {

namespace {

const QString languageError = reportText("badLanguageDefinition");

// One element of the document as read, before it is given a meaning.
struct XmlElement {
    QString name;
    QHash<QString, QString> attributes;
    std::vector<XmlElement> children;
};

bool readXml(const QString &xml, XmlElement *root)
{
    QXmlStreamReader reader(xml);
    std::vector<XmlElement *> open;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            XmlElement element;
            element.name = reader.name().toString();
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                element.attributes.insert(attribute.name().toString(), attribute.value().toString());
            if (open.empty()) {
                *root = std::move(element);
                open.push_back(root);
            } else {
                open.back()->children.push_back(std::move(element));
                open.push_back(&open.back()->children.back());
            }
        } else if (reader.isEndElement()) {
            open.pop_back();
        }
    }
    return !reader.hasError() && !root->name.isEmpty();
}

const std::map<QString, ElementKind> &elementKinds()
{
    static const std::map<QString, ElementKind> kinds = {
        {QStringLiteral("char"), ElementKind::Char},
        {QStringLiteral("keyword"), ElementKind::Keyword},
        {QStringLiteral("ident"), ElementKind::Ident},
        {QStringLiteral("number"), ElementKind::Number},
        {QStringLiteral("string"), ElementKind::String},
        {QStringLiteral("frstring"), ElementKind::FrString},
        {QStringLiteral("eol"), ElementKind::Eol},
        {QStringLiteral("empty"), ElementKind::Empty},
        {QStringLiteral("sequence"), ElementKind::Sequence},
        {QStringLiteral("switch"), ElementKind::Switch},
        {QStringLiteral("optionalswitch"), ElementKind::OptionalSwitch},
        {QStringLiteral("optional"), ElementKind::Optional},
        {QStringLiteral("loop"), ElementKind::Loop},
        {QStringLiteral("optionalloop"), ElementKind::OptionalLoop},
    };
    return kinds;
}

}  // namespace

class GrammarReader {
public:
    explicit GrammarReader(Grammar &grammar)
        : grammar_(grammar)
    {
    }

    bool read(const XmlElement &root)
    {
        if (root.name != u"language")
            return false;
        grammar_.name_ = root.attributes.value(QStringLiteral("text"));
        if (grammar_.name_.isEmpty())
            return false;
        for (const XmlElement &section : root.children) {
            if (section.name == u"parser")
                readParser(section);
            else if (section.name == u"types")
                readTypes(section);
        }
        // Rules first by name, so references can be resolved in any order.
        for (const XmlElement &section : root.children) {
            if (section.name == u"parser" || section.name == u"types")
                continue;
            auto rule = std::make_unique<GrammarElement>();
            grammar_.rules_[section.name] = std::move(rule);
        }
        for (const XmlElement &section : root.children) {
            if (section.name == u"parser" || section.name == u"types")
                continue;
            GrammarElement &rule = *grammar_.rules_[section.name];
            if (!readAttributes(section, rule) || !readChildren(section, rule))
                return false;
        }
        return grammar_.startRule() != nullptr;
    }

private:
    void readParser(const XmlElement &parser)
    {
        ParserSettings &settings = grammar_.parser_;
        settings.lineComments.clear();
        settings.blockComments.clear();
        for (const XmlElement &setting : parser.children) {
            const QString text = setting.attributes.value(QStringLiteral("text"));
            if (setting.name.startsWith(u"commentline")) {
                settings.lineComments.append(text);
            } else if (setting.name.startsWith(u"commentblock")) {
                const qsizetype comma = text.indexOf(u',');
                if (comma > 0)
                    settings.blockComments.append({text.left(comma), text.mid(comma + 1)});
            } else if (setting.name == u"stringquotes") {
                settings.stringQuotes = text;
            } else if (setting.name == u"hexsequence") {
                settings.hexSequence = text;
            } else if (setting.name == u"identchars") {
                settings.identChars = text;
            } else if (setting.name == u"specstrchar") {
                settings.specStrChar = text;
            } else if (setting.name == u"skipchar") {
                settings.skipChar = text;
            } else if (setting.name == u"declarevars") {
                settings.declareVars = text == u"1";
            } else if (setting.name == u"skipeol") {
                settings.skipEol = text == u"1";
            } else if (setting.name == u"casesensitive") {
                settings.caseSensitive = text == u"1";
            } else if (setting.name == u"keywords") {
                for (const XmlElement &keyword : setting.children) {
                    grammar_.keywords_.insert(keyword.name.toLower().toStdString());
                    grammar_.longestKeyword_ = std::max(grammar_.longestKeyword_, int(keyword.name.size()));
                }
            } else if (setting.name == u"errors") {
                for (const XmlElement &error : setting.children)
                    grammar_.errors_.insert(error.name, error.attributes.value(QStringLiteral("text")));
            }
        }
    }

    void readTypes(const XmlElement &types)
    {
        for (const XmlElement &type : types.children)
            grammar_.typeAliases_.insert(type.name.toLower(), type.attributes.value(QStringLiteral("text")));
    }

    bool readAttributes(const XmlElement &xml, GrammarElement &element)
    {
        const auto &a = xml.attributes;
        element.text = a.value(QStringLiteral("text"));
        element.node = a.value(QStringLiteral("node"));
        element.add = a.value(QStringLiteral("add"));
        element.hasAddText = a.contains(QStringLiteral("addtext"));
        element.addText = a.value(QStringLiteral("addtext"));
        element.term = a.value(QStringLiteral("term")) == u"1";
        element.skipBlanks = a.value(QStringLiteral("skip")) != u"0";
        element.discardLoopError = a.value(QStringLiteral("skip")) == u"1";
        const QString errorKey = a.value(QStringLiteral("err"));
        if (!errorKey.isEmpty()) {
            if (!grammar_.errors_.contains(errorKey))
                return false;
            element.error = grammar_.errors_.value(errorKey);
        }
        return true;
    }

    bool readChildren(const XmlElement &xml, GrammarElement &parent)
    {
        for (const XmlElement &childXml : xml.children) {
            auto child = std::make_unique<GrammarElement>();
            const auto kind = elementKinds().find(childXml.name);
            if (kind != elementKinds().end()) {
                child->kind = kind->second;
            } else {
                const auto rule = grammar_.rules_.find(childXml.name);
                if (rule == grammar_.rules_.end())
                    return false;
                child->kind = ElementKind::RuleReference;
                child->rule = rule->second.get();
            }
            if (!readAttributes(childXml, *child) || !readChildren(childXml, *child))
                return false;
            parent.children.push_back(std::move(child));
        }
        return true;
    }

    Grammar &grammar_;
};

std::unique_ptr<Grammar> Grammar::load(const QString &xml, QString *error)
{
    XmlElement root;
    auto grammar = std::unique_ptr<Grammar>(new Grammar);
    if (!readXml(xml, &root) || !GrammarReader(*grammar).read(root)) {
        if (error)
            *error = languageError;
        return nullptr;
    }
    return grammar;
}

bool Grammar::isKeyword(QStringView word) const
{
    if (word.size() > longestKeyword_)
        return false;
    std::string lower;
    lower.reserve(word.size());
    for (const QChar c : word) {
        if (c.unicode() >= 128)
            return false;
        lower.push_back(char(c.toLower().unicode()));
    }
    return keywords_.count(lower) != 0;
}

const GrammarElement *Grammar::rule(const QString &name) const
{
    const auto found = rules_.find(name);
    return found == rules_.end() ? nullptr : found->second.get();
}

namespace {

std::map<QString, std::unique_ptr<Grammar>> &languages()
{
    static std::map<QString, std::unique_ptr<Grammar>> registered = [] {
        std::map<QString, std::unique_ptr<Grammar>> builtIn;
        initScriptResources();
        QFile file(QStringLiteral(":/vornak/script/pascal_script_grammar.xml"));
        if (file.open(QIODevice::ReadOnly)) {
            if (auto grammar = Grammar::load(QString::fromUtf8(file.readAll()), nullptr))
                builtIn[grammar->name().toLower()] = std::move(grammar);
        }
        return builtIn;
    }();
    return registered;
}

}  // namespace

const Grammar *findLanguage(const QString &name)
{
    const auto found = languages().find(name.toLower());
    return found == languages().end() ? nullptr : found->second.get();
}

bool registerLanguage(const QString &xml, QString *error)
{
    auto grammar = Grammar::load(xml, error);
    if (!grammar)
        return false;
    languages()[grammar->name().toLower()] = std::move(grammar);
    return true;
}

}  // namespace vornak::script
