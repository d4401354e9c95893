#include "report/pages/dictionary.h"
#include "report/pages/xml_item.h"

#include <gtest/gtest.h>

using namespace vornak;

TEST(XmlItem, AttributeValuesSurviveWriteAndRead)
{
    const struct {
        QString value;
        QString encoded;
    } cases[] = {
        {QStringLiteral("say \"hi\""), QStringLiteral("say &#34;hi&#34;")},
        {QStringLiteral("<a> & <b>"), QStringLiteral("&#60;a&#62; &#38; &#60;b&#62;")},
        {QStringLiteral("a\r\nb\nc\r"), QStringLiteral("a&#13;&#10;b&#10;c&#13;")},
        {QString(QChar(0)) + QStringLiteral("x") + QChar(0), QStringLiteral("&#0;x&#0;")},
        {QStringLiteral("Пробег (км) — «итог»"), QStringLiteral("Пробег (км) — «итог»")},
        // Text that looks like a reference is kept as written.
        {QStringLiteral("&quot; &#34; &amp"), QStringLiteral("&#38;quot; &#38;#34; &#38;amp")},
        {QStringLiteral(" name=\"x\" "), QStringLiteral(" name=&#34;x&#34; ")},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(xmlEncodeValue(c.value), c.encoded);
        TfrxXMLItem item;
        item.SetProp(u"v", c.value);
        item.SetProp(u"after", u"1");
        EXPECT_EQ(item.Text, QStringLiteral("v=\"%1\" after=\"1\"").arg(c.encoded));
        EXPECT_EQ(item.Prop(u"V"), c.value);
        EXPECT_EQ(item.Prop(u"after"), QStringLiteral("1"));
    }
}

TEST(XmlItem, NamedReferencesAreReadAndRewrittenAsNumbers)
{
    TfrxXMLItem item;
    item.Text = QStringLiteral(" a=\"&quot;x&quot; &lt;&gt; &amp; &#1055;&#10;\" b=\"2\"");
    EXPECT_EQ(item.Prop(u"a"), QStringLiteral("\"x\" <> & П\n"));
    item.SetProp(u"a", item.Prop(u"a"));
    EXPECT_EQ(item.Text, QStringLiteral(" a=\"&#34;x&#34; &#60;&#62; &#38; П&#10;\" b=\"2\""));
}

TEST(XmlItem, PropertiesAreFoundByWholeNameAndReplacedInPlace)
{
    TfrxXMLItem item;
    item.Text = QStringLiteral("tl=\"1\" l=\"2\" Font.Name=\"Arial\"");
    EXPECT_EQ(item.Prop(u"l"), QStringLiteral("2"));
    EXPECT_EQ(item.Prop(u"font.name"), QStringLiteral("Arial"));
    EXPECT_EQ(item.Prop(u"t"), QString());
    EXPECT_FALSE(item.HasProp(u"Name"));
    item.SetProp(u"L", u"30");
    item.SetProp(u"t", u"4");
    EXPECT_EQ(item.Text, QStringLiteral("tl=\"1\" l=\"30\" Font.Name=\"Arial\" t=\"4\""));
}

TEST(XmlItem, FindItemAddsAndFindDoesNot)
{
    TfrxXMLItem root(QStringLiteral("preparedreport"));
    EXPECT_EQ(root.Find(QStringLiteral("outline")), -1);
    EXPECT_EQ(root.Count(), 0);
    TfrxXMLItem *outline = root.FindItem(QStringLiteral("outline"));
    EXPECT_EQ(root.FindItem(QStringLiteral("OUTLINE")), outline);
    EXPECT_EQ(root.Find(QStringLiteral("Outline")), 0);
    EXPECT_EQ(outline->Parent(), &root);
}

TEST(Dictionary, AliasesCountUpAndProbeByHalving)
{
    TfrxDictionary dictionary;
    for (int i = 0; i < 3; ++i)
        dictionary.Add(dictionary.CreateUniqueName(QStringLiteral("m")), QStringLiteral("Page0.Memo%1").arg(i),
                       nullptr);
    EXPECT_EQ(dictionary.Names(), (QStringList{"m1", "m2", "m3"}));
    EXPECT_EQ(dictionary.GetSourceName(QStringLiteral("m3")), QStringLiteral("Page0.Memo2"));
    EXPECT_EQ(dictionary.CreateUniqueName(QStringLiteral("b")), QStringLiteral("b1"));

    // The probe stops at the first number of 10000, 5000, 2500, ... in use and counts up from it.
    const struct {
        QStringList used;
        QString next;
    } cases[] = {
        {{"m1", "m2", "m10000"}, "m10001"},
        {{"m1", "m2", "m2500"}, "m2501"},
        {{"m1", "m2", "m3", "m5"}, "m4"},
        {{"m2", "m3"}, "m4"},
        {{"m3"}, "m1"},
    };
    for (const auto &c : cases) {
        TfrxDictionary probe;
        for (const QString &alias : c.used)
            probe.Add(alias, alias, nullptr);
        EXPECT_EQ(probe.CreateUniqueName(QStringLiteral("m")), c.next) << c.used.join(u',').toStdString();
    }

    dictionary.Clear();
    EXPECT_EQ(dictionary.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m1"));
    EXPECT_EQ(dictionary.GetObject(QStringLiteral("m1")), nullptr);
}
