#include "report/expr/bracketed_expression.h"

#include <gtest/gtest.h>
#include <QHash>

using namespace vornak;

namespace {

// Expands with a replacement that shows what it was given: "<inner>"; `values` overrides it.
QString expand(const QString &text, const QHash<QString, QString> &values = {},
               const ExpressionDelimiters &delimiters = {})
{
    return expandExpressions(text, delimiters, [&](const QString &inner) {
        return values.contains(inner) ? values.value(inner) : u'<' + inner + u'>';
    });
}

}  // namespace

TEST(BracketedExpression, Expansion)
{
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {QStringLiteral("A[x]B[y]C"), QStringLiteral("A<x>B<y>C")},
        {QStringLiteral("no brackets at all"), QStringLiteral("no brackets at all")},
        {QStringLiteral("[[x]]"), QStringLiteral("<[x]>")},
        {QStringLiteral("[a[b]c]"), QStringLiteral("<a[b]c>")},
        {QStringLiteral("[Source1.\"a]b\"] end"), QStringLiteral("<Source1.\"a]b\"> end")},
        {QStringLiteral("['it]s' + x]"), QStringLiteral("<'it]s' + x>")},
        {QStringLiteral("open [x"), QStringLiteral("open <x>")},
        {QStringLiteral("[x]"), QStringLiteral("<x>")},
        {QStringLiteral("line1\r\n[x]\r\nline3"), QStringLiteral("line1\r\n<x>\r\nline3")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(expand(c.text), c.expected) << c.text.toStdString();
}

TEST(BracketedExpression, InsertedValuesAreNotEvaluatedAgain)
{
    int calls = 0;
    const QString text = expandExpressions(QStringLiteral("[caption] and [x]"), {}, [&](const QString &inner) {
        ++calls;
        return inner == u"caption" ? QStringLiteral("[01.01.2026 - 31.01.2026]") : QStringLiteral("X");
    });
    EXPECT_EQ(text, QStringLiteral("[01.01.2026 - 31.01.2026] and X"));
    EXPECT_EQ(calls, 2);
}

TEST(BracketedExpression, EmptyValueAtTheStartKeepsScanning)
{
    EXPECT_EQ(expand(QStringLiteral("[a][b]"), {{QStringLiteral("a"), QString()}}), QStringLiteral("<b>"));
}

TEST(BracketedExpression, OtherDelimiters)
{
    const ExpressionDelimiters delimiters = ExpressionDelimiters::parse(QStringLiteral("<%,%>"));
    EXPECT_EQ(delimiters.open, QStringLiteral("<%"));
    EXPECT_EQ(delimiters.close, QStringLiteral("%>"));
    EXPECT_EQ(expand(QStringLiteral("A<%x%>B[y]"), {}, delimiters), QStringLiteral("A<x>B[y]"));
    EXPECT_EQ(bracketedExpressions(QStringLiteral("A[x]B[[y]]"), {}),
              (QStringList{QStringLiteral("x"), QStringLiteral("[y]")}));
}
