#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/custom_preview.h"
#include "report/model/data_band.h"
#include "report/model/data_set.h"
#include "report/model/memo_view.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/template_reader.h"
#include "report/period/period_report_template.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace vornak;

namespace {

struct Preview : TfrxCustomPreview {
    QString Name() const override { return QStringLiteral("frxPreview1"); }
    void Init(TfrxReport &, TfrxCustomPreviewPages &) override {}
    void RefreshReport() override {}
};

// The five report data sources of the main window, by component and user name.
struct PeriodReportFixture {
    std::vector<std::unique_ptr<TfrxDataSet>> dataSets;
    Preview preview;
    TfrxReport report;

    PeriodReportFixture()
    {
        const std::pair<const char *, const char *> names[] = {
            {"frxDBAuto", "Auto"},     {"frxDBBegin", "Begin"},      {"frxDBEnde", "Ende"},
            {"frxDBOborot", "Oborot"}, {"frxDBDataset4", "Source1"},
        };
        for (const auto &[component, user] : names) {
            dataSets.push_back(std::make_unique<TfrxDataSet>());
            dataSets.back()->SetName(QString::fromLatin1(component));
            dataSets.back()->SetUserName(QString::fromLatin1(user));
        }
        LoadPeriodReportTemplate(report, links());
    }

    TfrxTemplateLinks links()
    {
        TfrxTemplateLinks links;
        links.findDataSet = TfrxTemplateLinks::dataSetIn(dataSets);
        links.findPreview = [this](const QString &name) -> TfrxCustomPreview * {
            return name == preview.Name() ? &preview : nullptr;
        };
        return links;
    }

    TfrxDataSet *dataSet(const char *component) const
    {
        for (const auto &d : dataSets)
            if (d->Name() == QLatin1StringView(component))
                return d.get();
        return nullptr;
    }

    template <class T>
    T *object(const char *name) const
    {
        auto *found = dynamic_cast<T *>(report.FindObject(QString::fromLatin1(name)));
        EXPECT_TRUE(found) << name;
        return found;
    }
};

}  // namespace

TEST(PeriodReportTemplate, ReportAndPages)
{
    PeriodReportFixture f;
    const TfrxReport &r = f.report;
    EXPECT_EQ(r.Name(), QStringLiteral("frxReport1"));
    EXPECT_EQ(r.Version(), QStringLiteral("4.10.1"));
    EXPECT_EQ(r.IniFile(), QStringLiteral("\\Software\\Vornak\\Reports"));
    EXPECT_EQ(r.Preview(), &f.preview);
    EXPECT_EQ(r.PreviewOptions.Buttons, pbPrint | pbLoad | pbSave | pbExport | pbZoom | pbFind | pbOutline |
                                            pbPageSetup | pbTools | pbEdit | pbNavigator | pbExportQuick);
    EXPECT_EQ(r.PreviewOptions.Zoom, 1.0);
    EXPECT_EQ(r.PrintOptions.Printer, QStringLiteral("Default"));
    EXPECT_EQ(r.ReportOptions.CreateDate, 40934.3362785648);
    EXPECT_EQ(r.ReportOptions.LastChange, 40934.45721262732);
    EXPECT_EQ(r.ScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_EQ(r.ScriptText(), (QStringList{QStringLiteral("begin"), QString(), QStringLiteral("end.")}));
    EXPECT_EQ(r.Variables().Count(), 0);
    EXPECT_TRUE(r.Style().isEmpty());

    const char *order[] = {"frxDBAuto", "frxDBBegin", "frxDBEnde", "frxDBOborot", "frxDBDataset4"};
    ASSERT_EQ(r.Datasets().Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(r.Datasets().Items(i).DataSet(), f.dataSet(order[i])) << i;
    EXPECT_EQ(r.GetDataset(QStringLiteral("source1")), f.dataSet("frxDBDataset4"));
    EXPECT_EQ(r.GetAlias(f.dataSet("frxDBBegin")), QStringLiteral("Begin"));

    ASSERT_EQ(r.Objects().size(), 2);
    auto *data = dynamic_cast<TfrxDataPage *>(r.Objects()[0]);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Name(), QStringLiteral("Data"));
    EXPECT_EQ(data->Width(), 1000);
    EXPECT_EQ(data->Height(), 1000);
    EXPECT_TRUE(data->Objects().isEmpty());

    auto *page = dynamic_cast<TfrxReportPage *>(r.Objects()[1]);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->Name(), QStringLiteral("Page1"));
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->PaperWidth(), 210);
    EXPECT_EQ(page->PaperHeight(), 297);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_EQ(page->LeftMargin(), 10);
    EXPECT_EQ(page->BottomMargin(), 10);
    EXPECT_EQ(page->Width(), 794);
    EXPECT_NEAR(page->PrintableWidth(), 718.1107, 1e-9);
}

TEST(PeriodReportTemplate, Bands)
{
    PeriodReportFixture f;
    const struct {
        const char *name;
        const char *className;
        double top, height;
    } bands[] = {
        {"ReportTitle1", "TfrxReportTitle", 18.89765, 143.62214},
        {"Header1", "TfrxHeader", 222.99227, 49.13389},
        {"MasterData1", "TfrxMasterData", 294.80334, 22.67718},
        {"Footer1", "TfrxFooter", 340.1577, 22.67718},
    };
    for (const auto &b : bands) {
        auto *band = f.object<TfrxBand>(b.name);
        ASSERT_TRUE(band);
        EXPECT_EQ(band->ClassName(), QString::fromLatin1(b.className));
        EXPECT_EQ(band->Top(), b.top) << b.name;
        EXPECT_EQ(band->Height(), b.height) << b.name;
        EXPECT_EQ(band->Width(), 718.1107) << b.name;
        EXPECT_EQ(band->Left(), 0) << b.name;
    }
    auto *master = f.object<TfrxMasterData>("MasterData1");
    EXPECT_EQ(master->DataSet(), f.dataSet("frxDBDataset4"));
    EXPECT_EQ(master->DataSetName(), QStringLiteral("Source1"));
    EXPECT_EQ(master->RowCount(), 0);
}

TEST(PeriodReportTemplate, TextObjects)
{
    PeriodReportFixture f;
    constexpr int framed = ftLeft | ftRight | ftTop | ftBottom;
    const struct {
        const char *name;
        const char *parent;
        double left, top, width, height;
        int fontHeight;
        bool bold;
        int frame;
        TfrxHAlign hAlign;
        const char *text;
    } memos[] = {
        {"Memo9", "ReportTitle1", 26.45671, 62.35436, 600.94488189, 26.45671, -16, true, 0, haCenter, "Пробег (км)"},
        {"Memo2", "ReportTitle1", 26.45671, 89.81107, 200.31509, 22.67718, -16, true, framed, haCenter,
         "Начальный пробег"},
        {"Memo3", "ReportTitle1", 26.45671, 112.26778, 200.31509, 22.67718, -16, false, framed, haCenter,
         "[Begin.\"km1\"]"},
        {"Memo4", "ReportTitle1", 226.63791, 89.81107, 200.31509, 22.67718, -16, true, framed, haCenter,
         "Изменения за период"},
        {"Memo5", "ReportTitle1", 226.63791, 112.26778, 200.31509, 22.67718, -16, false, framed, haCenter,
         "[Oborot.\"sm\"]"},
        {"Memo6", "ReportTitle1", 426.81911, 89.81107, 200.31509, 22.67718, -16, true, framed, haCenter,
         "Конечный пробег"},
        {"Memo7", "ReportTitle1", 426.81911, 112.26778, 200.31509, 22.67718, -16, false, framed, haCenter,
         "[Ende.\"sm\"]"},
        {"Memo8", "Header1", 58.58290905499997, 0, 600.94488189, 26.45671, -16, true, 0, haCenter,
         "Денежные затраты (руб.)"},
        {"Memo16", "Header1", 0, 26.45671, 438.42548, 22.67718, -16, true, framed, haCenter, "Название затрат"},
        {"Memo11", "Header1", 438.42548, 26.45671, 257.00804, 22.67718, -16, true, framed, haCenter, "Сумма"},
        {"Memo21", "MasterData1", 0, 0, 438.42548, 22.67718, -16, false, framed, haCenter, "[Source1.\"opisanie\"]"},
        {"Memo19", "MasterData1", 438.42548, 0, 257.00804, 22.67718, -16, false, framed, haCenter, "[Source1.\"s2\"]"},
        {"Memo17", "Footer1", 0, 0, 438.42548, 22.67718, -16, true, framed, haRight, "Итоги"},
        {"Memo14", "Footer1", 438.42548, 0, 257.00804, 22.67718, -16, false, framed, haCenter,
         "[SUM(<Source1.\"s2\">,MasterData1)]"},
        {"Memo1", "Page1", 7.559059999999988, 11.89765, 702.99258, 56.69295000000001, -21, true, 0, haCenter,
         "Карточка автомобиля [Auto.\"nameauto\"]\r\n[str]"},
    };
    int count = 0;
    for (TfrxComponent *object : f.report.AllObjects())
        count += dynamic_cast<TfrxMemoView *>(object) ? 1 : 0;
    EXPECT_EQ(count, 15);

    for (const auto &m : memos) {
        SCOPED_TRACE(m.name);
        auto *memo = f.object<TfrxMemoView>(m.name);
        ASSERT_TRUE(memo);
        EXPECT_EQ(memo->Parent()->Name(), QString::fromLatin1(m.parent));
        EXPECT_EQ(memo->Left(), m.left);
        EXPECT_EQ(memo->Top(), m.top);
        EXPECT_EQ(memo->Width(), m.width);
        EXPECT_EQ(memo->Height(), m.height);
        EXPECT_FALSE(memo->ParentFont());
        EXPECT_EQ(memo->Font().Name, QStringLiteral("Arial"));
        EXPECT_EQ(memo->Font().Height, m.fontHeight);
        EXPECT_EQ(memo->Font().Style, m.bold ? fsBold : 0);
        EXPECT_EQ(memo->Font().Color, clBlack);
        EXPECT_EQ(memo->Font().Charset, DEFAULT_CHARSET);
        EXPECT_EQ(memo->Frame().Typ(), m.frame);
        EXPECT_EQ(memo->Frame().Width(), 1);
        EXPECT_EQ(memo->HAlign(), m.hAlign);
        EXPECT_EQ(memo->VAlign(), vaTop);
        EXPECT_EQ(memo->Color(), clTransparent);
        EXPECT_FALSE(memo->ShowHint());
        EXPECT_EQ(memo->StretchMode(), smDontStretch);
        EXPECT_EQ(memo->Text(), QString::fromUtf8(m.text));
    }
    EXPECT_EQ(f.object<TfrxMemoView>("Memo8")->Align(), baCenter);
    EXPECT_EQ(f.object<TfrxMemoView>("Memo1")->Align(), baCenter);
    EXPECT_EQ(f.object<TfrxMemoView>("Memo1")->Memo().size(), 2);
    auto *memo19 = f.object<TfrxMemoView>("Memo19");
    EXPECT_EQ(memo19->DataSet(), f.dataSet("frxDBDataset4"));
    EXPECT_EQ(memo19->DataField(), QStringLiteral("s2"));
    EXPECT_TRUE(memo19->IsDataField());
    EXPECT_FALSE(f.object<TfrxMemoView>("Memo14")->IsDataField());
}

TEST(PeriodReportTemplate, AligningThePageKeepsTheStoredPositions)
{
    PeriodReportFixture f;
    auto *page = f.object<TfrxReportPage>("Page1");
    page->AlignChildren();
    EXPECT_NEAR(f.object<TfrxMemoView>("Memo8")->Left(), 58.58290905499997, 1e-9);
    EXPECT_NEAR(f.object<TfrxMemoView>("Memo1")->Left(), 7.559059999999988, 1e-9);
}

TEST(PeriodReportTemplate, WrittenAndReadBackUnchanged)
{
    PeriodReportFixture f;
    const QString text = f.report.SaveToText();
    EXPECT_FALSE(text.contains(u"ShowHint"));  // defaults are left out
    // Read back as a preparation restores it: data sources found by component name.
    TfrxReport copy;
    copy.SetPreview(&f.preview);  // the preview is kept, not looked up again
    copy.LoadFromText(text);
    EXPECT_TRUE(copy.Errors().isEmpty());
    EXPECT_EQ(copy.SaveToText().toStdString(), text.toStdString());
    EXPECT_EQ(copy.Datasets().Items(4).DataSet(), f.dataSet("frxDBDataset4"));
    EXPECT_EQ(dynamic_cast<TfrxMasterData *>(copy.FindObject(QStringLiteral("MasterData1")))->DataSet(),
              f.dataSet("frxDBDataset4"));
}

TEST(TemplateReader, EveryKindOfValueSurvivesWritingAndReading)
{
    TfrxReport report;
    report.SetName(QStringLiteral("R"));
    report.Variables().SetVariable(QStringLiteral("Limit"), Variant(QStringLiteral("10")));
    report.Style().append(TfrxStyleItem{QStringLiteral("Title"), clRed, TFont{}, TfrxFrame{}});
    report.EngineOptions.DoublePass = true;
    report.PrintOptions.PrintPages = ppOdd;
    report.ReportOptions.Description = {QStringLiteral("a"), QString()};
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("P"));
    page->SetOrientation(poLandscape);
    page->SetPaperSize(11);
    page->SetLeftMargin(12.5);
    page->SetColumnPositions({QStringLiteral("0"), QStringLiteral("95")});
    auto *child = new TfrxChild(page);
    child->SetName(QStringLiteral("Child1"));
    auto *header = new TfrxGroupHeader(page);
    header->SetName(QStringLiteral("G"));
    header->SetCondition(QStringLiteral("<Source1.\"id\">"));
    header->SetChild(child);
    auto *memo = new TfrxMemoView(header);
    memo->SetName(QStringLiteral("M"));
    memo->SetText(QStringLiteral("one\r\n\"two\" & <three>"));
    memo->Frame().SetTyp(ftLeft | ftBottom);
    memo->Frame().SetWidth(2);
    memo->Frame().TopLine.Color = clBlue;
    memo->DisplayFormat().Kind = fkNumeric;
    memo->Highlight().Font.Style = fsItalic;
    memo->SetGapX(0.5);
    memo->SetWordWrap(false);
    TFont font;
    font.Name = QStringLiteral("Tahoma");
    font.Style = fsBold | fsUnderline;
    memo->SetFont(font);
    auto *flow = new TfrxMemoView(header);
    flow->SetName(QStringLiteral("M2"));
    memo->SetFlowTo(flow);

    const QString text = report.SaveToText();
    TfrxReport copy;
    copy.LoadFromText(text);
    ASSERT_TRUE(copy.Errors().isEmpty()) << copy.Errors().join(u'\n').toStdString();
    EXPECT_EQ(copy.SaveToText().toStdString(), text.toStdString());
    auto *memoCopy = dynamic_cast<TfrxMemoView *>(copy.FindObject(QStringLiteral("M")));
    ASSERT_TRUE(memoCopy);
    EXPECT_EQ(memoCopy->Memo(), memo->Memo());
    EXPECT_EQ(memoCopy->Font(), font);
    EXPECT_EQ(memoCopy->Frame(), memo->Frame());
    EXPECT_EQ(memoCopy->FlowTo(), copy.FindObject(QStringLiteral("M2")));
    auto *pageCopy = dynamic_cast<TfrxReportPage *>(copy.FindObject(QStringLiteral("P")));
    EXPECT_EQ(pageCopy->PaperWidth(), 210);
    EXPECT_EQ(pageCopy->PaperHeight(), 148);
    EXPECT_EQ(dynamic_cast<TfrxBand *>(copy.FindObject(QStringLiteral("G")))->Child(),
              copy.FindObject(QStringLiteral("Child1")));
    EXPECT_EQ(copy.Variables().Value(QStringLiteral("limit")), Variant(QStringLiteral("10")));
    EXPECT_EQ(copy.Style().value(0).Color, clRed);
    EXPECT_EQ(copy.ReportOptions.Description, report.ReportOptions.Description);
}

TEST(PeriodReportTemplate, PageCopiedWithItsObjects)
{
    PeriodReportFixture f;
    auto *page = f.object<TfrxReportPage>("Page1");
    TfrxReport copy;
    auto *pageCopy = new TfrxReportPage(&copy);
    pageCopy->AssignAll(*page);
    EXPECT_EQ(pageCopy->AllObjects().size(), page->AllObjects().size());
    auto *memo = dynamic_cast<TfrxMemoView *>(copy.FindObject(QStringLiteral("Memo19")));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->Text(), QStringLiteral("[Source1.\"s2\"]"));
    EXPECT_EQ(memo->Frame().Typ(), ftLeft | ftRight | ftTop | ftBottom);
    EXPECT_EQ(memo->DataSet(), f.dataSet("frxDBDataset4"));
    EXPECT_EQ(memo->Font(), f.object<TfrxMemoView>("Memo19")->Font());
    EXPECT_EQ(pageCopy->PrintableWidth(), page->PrintableWidth());
}

TEST(PeriodReportTemplate, UnresolvedDataSetsAreReportedBeforeARun)
{
    TfrxReport report;
    LoadPeriodReportTemplate(report);  // no data sources exist
    EXPECT_EQ(report.Datasets().Count(), 5);
    EXPECT_EQ(report.Datasets().Items(0).DataSetName(), QStringLiteral("Auto"));
    EXPECT_FALSE(report.CheckDataSets());
    ASSERT_EQ(report.Errors().size(), 5);
    EXPECT_EQ(report.Errors()[0], QStringLiteral("Набор данных \"Auto\" не найден"));
}

TEST(TemplateReader, TextThatIsNoTemplateRaisesAnErrorWithItsLine)
{
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        {"<TfrxReport>\n<TfrxReportPage>\n</TfrxReport>", "строка 3"},
        {"", "строка 1"},
        {"<TfrxReportPage/>", "ожидается TfrxReport"},
    };
    for (const auto &c : cases) {
        TfrxReport report;
        try {
            TfrxTemplateReader().Read(QString::fromUtf8(c.text), report);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const EngineError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.expected))) << error.message().toStdString();
        }
        EXPECT_TRUE(report.Objects().isEmpty());
    }
}

// A fault of one object or value goes to the error list; the objects around it are read.
TEST(TemplateReader, BadObjectsAndValuesGoToTheErrorListAndTheRestIsRead)
{
    const struct {
        const char *inPage;
        const char *expected;
    } cases[] = {
        {"<TfrxNoSuchThing/>", "строка 3: неизвестный класс TfrxNoSuchThing"},
        {"<TfrxNullBand/>", "строка 3: неизвестный класс TfrxNullBand"},
        {"<TfrxMasterData Shape='round'/>", "строка 3: у объекта TfrxMasterData нет свойства Shape"},
        {"<TfrxMasterData Name='M' Height='ten'/>", "строка 3: M.Height"},
        {"<TfrxMasterData><TfrxMemoView HAlign='haMiddle'/></TfrxMasterData>", "строка 3: TfrxMemoView.HAlign"},
        {"<TfrxReportPage/>", "строка 3: объект класса TfrxReportPage не может находиться"},
        {"<TfrxMasterData Name='page1'/>", "строка 3: TfrxMasterData.Name"},
    };
    for (const auto &c : cases) {
        TfrxReport report;
        TfrxTemplateReader().Read(QStringLiteral("<TfrxReport>\n<TfrxReportPage Name='Page1' LeftMargin='5'>\n%1\n"
                                                 "<TfrxMemoView Name='After' Width='10'/>\n</TfrxReportPage>\n"
                                                 "<Datasets><thing/><item DataSetName='S'/></Datasets>\n</TfrxReport>")
                                      .arg(QString::fromUtf8(c.inPage)),
                                  report);
        ASSERT_EQ(report.Errors().size(), 2) << c.inPage << ": " << report.Errors().join(u'\n').toStdString();
        EXPECT_TRUE(report.Errors().contains(QStringLiteral("Шаблон отчета, строка 6: ожидается item, найдено thing")));
        const QStringList own = report.Errors().filter(QStringLiteral("строка 3"));
        ASSERT_EQ(own.size(), 1) << c.inPage;
        EXPECT_TRUE(own[0].contains(QString::fromUtf8(c.expected))) << own[0].toStdString();
        const auto *page = frx_cast<TfrxReportPage>(report.FindObject(QStringLiteral("Page1")));
        ASSERT_NE(page, nullptr) << c.inPage;
        EXPECT_EQ(page->LeftMargin(), 5);
        ASSERT_NE(report.FindObject(QStringLiteral("After")), nullptr) << c.inPage;
        EXPECT_EQ(report.FindObject(QStringLiteral("After"))->Width(), 10);
        ASSERT_EQ(report.Datasets().Count(), 1);
        EXPECT_EQ(report.Datasets().Items(0).DataSetName(), QStringLiteral("S"));
    }
}

TEST(TemplateReader, LoadFromTextCollectsReaderErrors)
{
    TfrxReport report;
    report.LoadFromText(QStringLiteral("<TfrxReport><Oops</TfrxReport>"));
    ASSERT_EQ(report.Errors().size(), 1);
    EXPECT_TRUE(report.Errors()[0].startsWith(QStringLiteral("Шаблон отчета, строка 1")));
}
