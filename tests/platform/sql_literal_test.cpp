#include "platform/errors.h"
#include "platform/sql_literal.h"
#include "platform/sql_tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vornak;

namespace {

// Each text reads back as one literal holding exactly the text, whatever quotes it contains.
TEST(SqlLiteral, TextsReadBackAsOneLiteralHoldingTheText)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("Заправка \"Лукойл\""),
        QStringLiteral("x\"); DELETE FROM SPR_AUTO; --"),
        QStringLiteral("it's 'quoted'"),
        QStringLiteral("\"\"\"'''"),
        QStringLiteral("[name] #1/2/2011# ? :p"),
    };
    const struct {
        QString (*build)(const QString &);
        SqlToken::Kind kind;
    } styles[] = {{sql_literal::quotedText, SqlToken::Kind::QuotedText},
                  {sql_literal::apostropheText, SqlToken::Kind::Text}};
    for (const auto &style : styles) {
        for (const QString &text : texts) {
            const QList<SqlToken> tokens =
                tokenizeSql(QStringLiteral("SET a = ") + style.build(text) + QStringLiteral(" WHERE id=1"));
            ASSERT_EQ(tokens.size(), 8) << text.toStdString();
            EXPECT_EQ(tokens[3].kind, style.kind);
            EXPECT_EQ(tokens[3].text, text);
        }
    }
    EXPECT_EQ(sql_literal::quotedText(QStringLiteral("a\"b'c")), QStringLiteral("\"a\"\"b'c\""));
    EXPECT_EQ(sql_literal::apostropheText(QStringLiteral("a\"b'c")), QStringLiteral("'a\"b''c'"));
    EXPECT_EQ(sql_literal::sqliteName(QStringLiteral("a`b]\"c")), QStringLiteral("`a``b]\"c`"));
}

TEST(SqlLiteral, NumbersAreWrittenWithAPoint)
{
    const struct {
        double value;
        const char *literal;
    } cases[] = {{12.5, "12.5"}, {0, "0"},        {-0.25, "-0.25"},   {1200, "1200"},
                 {0.1, "0.1"},   {1e20, "1e+20"}, {1.5e-7, "1.5e-07"}};
    for (const auto &c : cases) {
        const QString literal = sql_literal::number(c.value);
        EXPECT_EQ(literal, QLatin1StringView(c.literal));
        const QList<SqlToken> tokens = tokenizeSql(literal);
        ASSERT_FALSE(tokens.isEmpty());
        EXPECT_EQ(tokens.last().kind, SqlToken::Kind::Number) << c.literal;
        EXPECT_EQ(tokens.last().text.toDouble(), std::abs(c.value)) << c.literal;
    }
    EXPECT_EQ(sql_literal::integer(-300), QStringLiteral("-300"));
    EXPECT_THROW(sql_literal::number(std::numeric_limits<double>::infinity()), ConversionError);
    EXPECT_THROW(sql_literal::number(std::nan("")), ConversionError);
}

}  // namespace
