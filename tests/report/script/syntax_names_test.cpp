// The builder reads the syntax tree by the names in syntax_names.h; the grammar document gives
// the tree those names. A rule renamed in the document without the builder would make the
// builder skip it silently, so every name must be one the document gives a node or a leaf.
#include "report/script/script_grammar.h"
#include "report/script/syntax_names.h"

#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The values of every `node` and `add` attribute of the document.
QSet<QString> namesGivenBy(const QString &resource)
{
    QFile file(resource);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << resource.toStdString();
    QSet<QString> names;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const char *attribute : {"node", "add"}) {
            if (xml.attributes().hasAttribute(QLatin1String(attribute)))
                names.insert(xml.attributes().value(QLatin1String(attribute)).toString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return names;
}

TEST(SyntaxNames, EveryNameTheBuilderReadsIsGivenByTheGrammarDocument)
{
    ASSERT_NE(vornak::script::findLanguage(QStringLiteral("PascalScript")), nullptr);  // registers the resources
    const QSet<QString> given = namesGivenBy(QStringLiteral(":/vornak/script/pascal_script_grammar.xml"));
    ASSERT_TRUE(given.contains(QStringLiteral("program")));
    for (QStringView name : vornak::script::syntax::all)
        EXPECT_TRUE(given.contains(name.toString())) << name.toString().toStdString();
}

}  // namespace
