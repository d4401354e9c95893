#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report_page.h"
#include "report/pages/object_diff.h"
#include "report/pages/xml_serializer.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace vornak;

namespace {

// A text object with a value other than the default in as many stored properties as it has.
void giveEveryPropertyAValue(TfrxMemoView &memo)
{
    memo.SetName(QStringLiteral("Memo19"));
    memo.SetTag(7);
    memo.SetBounds(438.42548, 0.5, 257.00804, 22.67718);
    TFont font;
    font.Name = QStringLiteral("Tahoma");
    font.Height = -16;
    font.Color = clMaroon;
    font.Style = fsBold | fsItalic;
    font.Charset = RUSSIAN_CHARSET;
    memo.SetFont(font);
    memo.SetVisible(false);
    memo.SetGroupIndex(3);
    memo.SetRestrictions(rfDontMove | rfDontSize);
    memo.SetDescription(QStringLiteral("описание \"в кавычках\""));
    memo.SetAlign(baCenter);
    memo.SetBrushStyle(bsCross);
    memo.SetColor(clSilver);
    memo.Frame().SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    memo.Frame().SetColor(clNavy);
    memo.Frame().SetStyle(fsDash);
    memo.Frame().SetWidth(1.5);
    memo.Frame().SetDropShadow(true);
    memo.Frame().SetShadowWidth(3);
    memo.Frame().SetShadowColor(clGray);
    memo.Frame().TopLine.Color = clRed;
    memo.Frame().BottomLine.Width = 2.25;
    memo.SetShiftMode(smWhenOverlapped);
    memo.SetPrintable(false);
    memo.SetDataSetName(QStringLiteral("Source1"));
    memo.SetDataField(QStringLiteral("s2"));
    memo.SetCursor(5);
    memo.SetHint(QStringLiteral("подсказка"));
    memo.SetShowHint(true);
    memo.SetTagStr(QStringLiteral("[Source1.\"s2\"] & <x>"));
    memo.SetURL(QStringLiteral("http://example.org/?a=1&b=2"));
    memo.SetStretchMode(smMaxHeight);
    memo.SetMemo({QStringLiteral("[Source1.\"opisanie\"]"), QString(), QStringLiteral("Итоги")});
    memo.SetAllowExpressions(false);
    memo.SetExpressionDelimiters(QStringLiteral("<%,%>"));
    memo.DisplayFormat() = TfrxFormat{fkNumeric, QStringLiteral("%2.2f"), QStringLiteral(","), QStringLiteral(" ")};
    memo.SetHideZeros(true);
    memo.SetHAlign(haRight);
    memo.SetVAlign(vaCenter);
    memo.SetWordWrap(false);
    memo.SetWordBreak(true);
    memo.SetClipped(false);
    memo.SetAutoWidth(true);
    memo.SetGapX(3.5);
    memo.SetGapY(0);
    memo.SetLineSpacing(4);
    memo.SetCharSpacing(0.25);
    memo.SetParagraphGap(1.125);
    memo.SetRotation(90);
    memo.SetRTLReading(true);
    memo.SetUnderlines(true);
    memo.SetUseDefaultCharset(true);
    memo.SetAllowHTMLTags(true);
    memo.SetWysiwyg(false);
    memo.SetSuppressRepeated(true);
    memo.SetFirstParaBreak(true);
    memo.SetLastParaBreak(true);
    memo.Highlight().Active = true;
    memo.Highlight().Condition = QStringLiteral("<Value> > 0");
    memo.Highlight().Color = clRed;
    memo.Highlight().Font.Name = QStringLiteral("Courier New");
    memo.Highlight().Font.Style = fsUnderline;
    memo.SetStyle(QStringLiteral("Заголовок"));
}

// Every stored property of `copy` reads as in `original`.
void expectSameProperties(const TfrxComponent &copy, const TfrxComponent &original)
{
    ASSERT_EQ(copy.ClassName(), original.ClassName());
    for (const TfrxPropertyInfo &property : original.Properties())
        EXPECT_EQ(property.read(copy), property.read(original)) << property.name.toStdString();
}

}  // namespace

TEST(ComponentText, TemplateObjectsSurviveTheComponentTextForm)
{
    TfrxMemoView memo;
    giveEveryPropertyAValue(memo);
    TfrxMasterData band;
    band.SetName(QStringLiteral("MasterData1"));
    band.SetBounds(0, 294.80334, 718.1107, 22.67718);
    band.SetRowCount(3);
    band.SetKeepTogether(true);
    band.SetStartNewPage(true);
    band.SetVisible(false);
    TfrxReportPage page;
    page.SetName(QStringLiteral("Page1"));
    page.SetPaperSize(9);
    page.SetOrientation(poLandscape);
    page.SetLeftMargin(10);
    page.SetTopMargin(12.5);
    page.SetColumns(2);
    page.SetColumnPositions({QStringLiteral("0"), QStringLiteral("95")});
    page.SetTitleBeforeHeader(false);

    for (const TfrxComponent *original : std::initializer_list<const TfrxComponent *>{&memo, &band, &page}) {
        const QString text = TfrxXMLSerializer::GetComponentText(*original);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.startsWith(original->ClassName() + u' '));
        std::unique_ptr<TfrxComponent> copy(TfrxXMLSerializer::ReadComponentStr(nullptr, text));
        expectSameProperties(*copy, *original);
    }
}

TEST(ComponentText, DifferenceFromAnAncestorRebuildsTheObject)
{
    TfrxMemoView source;
    giveEveryPropertyAValue(source);
    TfrxMemoView printed;
    printed.Assign(source);
    printed.SetBounds(1, 0.5000001, 300, 40);
    printed.SetText(QStringLiteral("Бензин\r\n12,5"));
    printed.SetHAlign(haLeft);
    printed.Frame().SetTyp(0);
    printed.SetTagStr(QString());

    const QString diff = TfrxXMLSerializer::ObjToXML(printed, &source);
    // Equal values and floats closer than 0.000001 are left out.
    EXPECT_EQ(diff,
              QStringLiteral("Left=\"1\" Width=\"300\" Height=\"40\" Frame.Typ=\"0\" TagStr=\"\" HAlign=\"haLeft\" "
                             "Memo.Text=\"Бензин&#13;&#10;12,5\""));
    std::unique_ptr<TfrxComponent> rebuilt(
        TfrxXMLSerializer::ReadComponentStr(nullptr, TfrxXMLSerializer::GetComponentText(source) + u' ' + diff));
    printed.SetTop(source.Top());
    expectSameProperties(*rebuilt, printed);
}

TEST(ComponentText, PreparedMemoKeepsItsTextUnderU)
{
    TfrxMemoView source;
    source.SetBounds(0, 0, 100, 20);
    TfrxMemoView printed;
    printed.Assign(source);
    EXPECT_EQ(frxDiff(printed, source), QStringLiteral("u=\"\""));
    printed.SetMemo({QStringLiteral("a"), QStringLiteral("b")});
    printed.SetLeft(5);
    EXPECT_EQ(frxDiff(printed, source), QStringLiteral("l=\"5\" u=\"a&#13;&#10;b\""));

    for (const QStringList &lines : {QStringList(), QStringList{"a", "b"}}) {
        printed.SetMemo(lines);
        std::unique_ptr<TfrxComponent> rebuilt(TfrxXMLSerializer::ReadComponentStr(
            nullptr, TfrxXMLSerializer::GetComponentText(source) + u' ' + frxDiff(printed, source)));
        EXPECT_EQ(static_cast<TfrxMemoView &>(*rebuilt).Memo(), lines);
        EXPECT_EQ(rebuilt->Left(), 5);
    }
}

TEST(ComponentText, DifferenceComparesWhatIsWritten)
{
    TfrxMemoView source;
    giveEveryPropertyAValue(source);
    TfrxMemoView printed;
    printed.Assign(source);
    printed.SetMemo({});
    EXPECT_EQ(frxDiff(printed, source), QStringLiteral("u=\"\""));
    // Only the values that read differently are written.
    printed.SetColor(clWhite);
    printed.SetGapX(3.5000001);
    EXPECT_EQ(frxDiff(printed, source), QStringLiteral("Color=\"clWhite\" GapX=\"3.5000001\" u=\"\""));
}

TEST(ComponentText, DifferenceFromTheSourceValuesReadOnceIsTheDifferenceFromTheSource)
{
    TfrxMemoView source;
    giveEveryPropertyAValue(source);
    const TfrxDiffBase base(source);
    TfrxMemoView printed;
    printed.Assign(source);
    // Each change comes on top of the ones before.
    const std::function<void(TfrxMemoView &)> changes[] = {
        [](TfrxMemoView &m) {
            m.SetMemo({QStringLiteral("Бензин"), QString()});
        },
        [](TfrxMemoView &m) {
            m.SetColor(clWhite);
            m.SetTop(40);
        },
        [](TfrxMemoView &m) {
            TFont font = m.Font();
            font.Style = 0;
            m.SetFont(font);
        },
        [](TfrxMemoView &m) {
            m.Frame().SetWidth(2);
            m.SetVisible(true);
        },
        [](TfrxMemoView &m) { m.SetParentFont(true); },
    };
    for (const auto &change : changes) {
        change(printed);
        EXPECT_EQ(frxDiff(printed, base), frxDiff(printed, source));
    }
    EXPECT_EQ(frxDiff(printed, base),
              QStringLiteral("t=\"40\" Visible=\"True\" ParentFont=\"True\" Color=\"clWhite\" Frame.Width=\"2\" "
                             "Frame.LeftLine.Width=\"2\" Frame.TopLine.Width=\"2\" Frame.RightLine.Width=\"2\" "
                             "Frame.BottomLine.Width=\"2\" u=\"Бензин&#13;&#10;\""));
}

TEST(ComponentText, ReadOnceBuildsWhatReadingTheTextBuilds)
{
    TfrxMemoView memo;
    giveEveryPropertyAValue(memo);
    TfrxMemoView plain;
    plain.SetBounds(0, 10, 100, 20);
    const QString texts[] = {
        TfrxXMLSerializer::GetComponentText(memo),
        TfrxXMLSerializer::GetComponentText(plain),
        // A value a new object has already, set through a font that is then the object's own.
        QStringLiteral("TfrxMemoView Font.Name=\"Arial\" Left=\"0\""),
        QStringLiteral("TfrxMemoView ParentFont=\"False\" Font.Height=\"-13\" ParentFont=\"True\""),
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const std::unique_ptr<TfrxComponent> read(TfrxXMLSerializer::ReadComponentStr(nullptr, text));
        const std::unique_ptr<TfrxComponent> built(ParsedComponentText(text).Create(nullptr, u"l=\"3\""));
        read->SetLeft(3);
        EXPECT_EQ(TfrxXMLSerializer::GetComponentText(*built), TfrxXMLSerializer::GetComponentText(*read));
    }
}

TEST(ComponentText, BandsAlwaysWriteTheirTopAndAutoWidthMemosNoWidth)
{
    TfrxMasterData band;
    band.SetBounds(0, 10, 718.1107, 22.67718);
    EXPECT_EQ(frxDiff(band, band), QStringLiteral("t=\"10\""));
    TfrxMemoView memo;
    memo.SetAutoWidth(true);
    TfrxMemoView wider;
    wider.Assign(memo);
    wider.SetWidth(80);
    EXPECT_EQ(frxDiff(wider, memo), QStringLiteral("u=\"\""));
}

TEST(ComponentText, BadTextIsRefusedWithAClearError)
{
    const struct {
        QString text;
        QString message;
    } cases[] = {
        {QStringLiteral("TfrxNoSuchView Left=\"1\""),
         QStringLiteral("Неизвестный класс объекта отчета \"TfrxNoSuchView\"")},
        {QStringLiteral("TfrxMemoView Colour=\"1\""),
         QStringLiteral("Неизвестный атрибут \"Colour\" у объекта класса TfrxMemoView")},
        {QStringLiteral("TfrxMemoView Left=1"), QStringLiteral("Ошибка в тексте атрибутов: \"Left=1\"")},
        {QStringLiteral("TfrxMemoView Left=\"1"), QStringLiteral("Ошибка в тексте атрибутов: \"Left=\"1\"")},
    };
    for (const auto &c : cases) {
        try {
            delete TfrxXMLSerializer::ReadComponentStr(nullptr, c.text);
            ADD_FAILURE() << c.text.toStdString();
        } catch (const EngineError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}
