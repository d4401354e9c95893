#include "report/script/script_parser.h"

#include "report/script/report_text.h"
#include "report/script/script_tokenizer.h"

namespace vornak::script {

const SyntaxNode *SyntaxNode::child(QStringView childName) const
{
    for (const SyntaxNode &node : children) {
        if (node.name == childName)
            return &node;
    }
    return nullptr;
}

QString SyntaxNode::leafText(QStringView leafName) const
{
    const SyntaxNode *node = child(leafName);
    return node ? node->text : QString();
}

QString nestingTooDeepMessage()
{
    return reportText("nestingTooDeep");
}

namespace {

using Nodes = std::vector<SyntaxNode>;

// Matches grammar elements against the text, building the syntax tree. The first failure of
// an element with an error text is recorded; a loop may discard it again (see matchLoop).
class Interpreter {
public:
    Interpreter(const Grammar &grammar, const QString &text)
        : grammar_(grammar),
          tokens_(text, grammar.parser(), grammar)
    {
    }

    ParseResult run(int startOffset)
    {
        ParseResult result;
        tokens_.setPosition(startOffset);
        Nodes top;
        const bool matched = match(*grammar_.startRule(), top);
        if (matched && !hasError_ && !top.empty()) {
            result.ok = true;
            result.tree = std::move(top.front());
            return result;
        }
        result.errorMessage = hasError_ ? errorText_ : grammar_.errorText(QStringLiteral("err3"));
        result.errorOffset = hasError_ ? errorOffset_ : tokens_.firstNonBlank(startOffset);
        return result;
    }

private:
    void recordError(const GrammarElement &element, int start)
    {
        if (hasError_)
            return;
        hasError_ = true;
        errorText_ = element.error;
        errorOffset_ = tokens_.firstNonBlank(start);
        errorTerm_ = element.term;
    }

    bool match(const GrammarElement &element, Nodes &out)
    {
        if (tooDeep_)
            return false;
        if (depth_ >= maxNestingDepth) {
            tooDeep_ = true;
            hasError_ = true;
            errorText_ = nestingTooDeepMessage();
            errorOffset_ = tokens_.firstNonBlank(tokens_.position());
            errorTerm_ = false;
            return false;
        }
        ++depth_;
        const int start = tokens_.position();
        const size_t outSize = out.size();
        Nodes own;
        Nodes &target = element.node.isEmpty() ? out : own;
        const bool ok = matchBody(element, target) && !tooDeep_;
        --depth_;
        if (!ok) {
            out.resize(outSize);
            tokens_.setPosition(start);
            if (!element.error.isEmpty())
                recordError(element, start);
            return false;
        }
        const int position = tokens_.firstNonBlank(start);
        if (!element.add.isEmpty()) {
            SyntaxNode leaf;
            leaf.name = element.add;
            leaf.text = element.hasAddText ? element.addText : lastToken_;
            leaf.position = std::min(position, tokens_.position());
            leaf.end = tokens_.position();
            leaf.leaf = true;
            target.push_back(std::move(leaf));
        }
        if (!element.node.isEmpty()) {
            SyntaxNode node;
            node.name = element.node;
            node.position = std::min(position, tokens_.position());
            node.end = tokens_.position();
            node.children = std::move(own);
            out.push_back(std::move(node));
        }
        return true;
    }

    bool matchChildren(const GrammarElement &element, Nodes &out)
    {
        for (const auto &child : element.children) {
            if (!match(*child, out))
                return false;
        }
        return true;
    }

    bool matchTerminal(const GrammarElement &element)
    {
        switch (element.kind) {
        case ElementKind::Char: {
            if (element.skipBlanks)
                tokens_.skipBlanks();
            const QString expected = element.text;
            for (qsizetype i = 0; i < expected.size() || (expected.isEmpty() && i == 0); ++i) {
                const QChar c = tokens_.readChar();
                if (c.isNull() || (!expected.isEmpty() && c != expected[i]))
                    return false;
                if (expected.isEmpty())
                    lastToken_ = QString(c);
            }
            if (!expected.isEmpty())
                lastToken_ = expected;
            return true;
        }
        case ElementKind::Keyword: {
            tokens_.skipBlanks();
            const QString word = tokens_.readWord();
            if (word.isEmpty())
                return false;
            if (!element.text.isEmpty() && word.compare(element.text, Qt::CaseInsensitive) != 0)
                return false;
            lastToken_ = word;
            return true;
        }
        case ElementKind::Ident: {
            tokens_.skipBlanks();
            const QString word = tokens_.readWord();
            if (word.isEmpty() || tokens_.isKeyword(word))
                return false;
            lastToken_ = word;
            return true;
        }
        case ElementKind::Number: {
            tokens_.skipBlanks();
            lastToken_ = tokens_.readNumber();
            return !lastToken_.isEmpty();
        }
        case ElementKind::String: {
            tokens_.skipBlanks();
            bool ok = false;
            lastToken_ = tokens_.readString(&ok);
            return ok;
        }
        case ElementKind::FrString:
            lastToken_ = tokens_.readFrString();
            return !lastToken_.isEmpty();
        case ElementKind::Eol:
            lastToken_.clear();
            return tokens_.readEol();
        default:
            return true;  // Empty
        }
    }

    bool matchBody(const GrammarElement &element, Nodes &out)
    {
        switch (element.kind) {
        case ElementKind::Sequence:
        case ElementKind::RuleReference:
            if (element.kind == ElementKind::RuleReference && !match(*element.rule, out))
                return false;
            return matchChildren(element, out);
        case ElementKind::Optional: {
            const int start = tokens_.position();
            const size_t outSize = out.size();
            if (!matchChildren(element, out)) {
                out.resize(outSize);
                tokens_.setPosition(start);
            }
            return true;
        }
        case ElementKind::Switch:
        case ElementKind::OptionalSwitch:
            for (const auto &child : element.children) {
                if (match(*child, out))
                    return true;
            }
            return element.kind == ElementKind::OptionalSwitch;
        case ElementKind::Loop:
        case ElementKind::OptionalLoop:
            return matchLoop(element, out);
        default:
            return matchTerminal(element) && matchChildren(element, out);
        }
    }

    // The children as a sequence, repeatedly. After a round the separator (when given) must
    // follow for another round; without one, a round that consumed nothing ends the loop. A
    // failed round after the first keeps what its children matched before the failing one
    // (nothing when the first child failed). An error recorded in a failed round is dropped
    // when the loop has skip="1" or the failing element has term="1".
    bool matchLoop(const GrammarElement &element, Nodes &out)
    {
        const QChar separator = element.text.isEmpty() ? QChar() : element.text[0];
        const int loopStart = tokens_.position();
        const size_t loopOutSize = out.size();
        int lastRoundEnd = loopStart;
        for (int round = 0;; ++round) {
            const int roundStart = tokens_.position();
            const bool errorBefore = hasError_;
            size_t failedChild = 0;
            bool roundOk = true;
            for (; failedChild < element.children.size(); ++failedChild) {
                if (!match(*element.children[failedChild], out)) {
                    roundOk = false;
                    break;
                }
            }
            if (roundOk) {
                lastRoundEnd = tokens_.position();
                if (!separator.isNull()) {
                    tokens_.skipBlanks();
                    if (tokens_.readChar() == separator)
                        continue;
                    tokens_.setPosition(lastRoundEnd);
                    return true;
                }
                if (tokens_.position() == roundStart)
                    return true;
                continue;
            }
            if (tooDeep_)
                return false;
            const bool discard = !errorBefore && hasError_ && (element.discardLoopError || errorTerm_);
            if (round == 0 && element.kind == ElementKind::Loop) {
                out.resize(loopOutSize);
                tokens_.setPosition(loopStart);
                return false;
            }
            if (discard)
                hasError_ = false;
            if (round == 0) {
                out.resize(loopOutSize);
                tokens_.setPosition(loopStart);
            } else if (failedChild == 0) {
                tokens_.setPosition(lastRoundEnd);
            }
            return true;
        }
    }

    const Grammar &grammar_;
    Tokenizer tokens_;
    QString lastToken_;
    bool hasError_ = false;
    QString errorText_;
    int errorOffset_ = 0;
    bool errorTerm_ = false;
    int depth_ = 0;
    bool tooDeep_ = false;
};

}  // namespace

ParseResult parse(const Grammar &grammar, const QString &text, int startOffset)
{
    return Interpreter(grammar, text).run(startOffset);
}

}  // namespace vornak::script
