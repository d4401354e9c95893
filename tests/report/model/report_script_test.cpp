#include "report/model/band.h"
#include "report/model/data_band.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/script/script.h"

#include <gtest/gtest.h>

using namespace vornak;

namespace {

struct ScriptedReport {
    TfrxReport report;
    TfrxReportPage *page = new TfrxReportPage(&report);
    TfrxMasterData *band = new TfrxMasterData(page);
    TfrxMemoView *memo = new TfrxMemoView(band);

    ScriptedReport()
    {
        page->SetName(QStringLiteral("Page1"));
        band->SetName(QStringLiteral("MasterData1"));
        band->SetHeight(22.5);
        memo->SetName(QStringLiteral("Memo14"));
    }

    Variant run(const QStringList &lines, const QString &variable)
    {
        report.SetScriptText(lines);
        EXPECT_TRUE(report.PrepareScript()) << report.Errors().join(u'\n').toStdString();
        report.RunScriptMainBlock();
        ScriptItem *item = report.Script().Find(variable);
        EXPECT_TRUE(item && item->kind() == ScriptItem::Kind::Variable);
        return item ? static_cast<ScriptVariable *>(item)->value() : Variant();
    }
};

} // namespace

TEST(ReportScript, PeriodCaptionScriptDefinesItsVariable)
{
    ScriptedReport r;
    const Variant str = r.run({QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
                               QStringLiteral("str := 'за период с 01.01.2024 по 31.01.2024';"), QStringLiteral("end.")},
                              QStringLiteral("str"));
    EXPECT_EQ(str, Variant(QStringLiteral("за период с 01.01.2024 по 31.01.2024")));

    // The next preparation compiles the new text; what the report added before is gone.
    const Variant again = r.run({QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
                                 QStringLiteral("STR := 'second';"), QStringLiteral("end.")},
                                QStringLiteral("str"));
    EXPECT_EQ(again, Variant(QStringLiteral("second")));
}

TEST(ReportScript, ObjectsUnitsAndSetAreRegistered)
{
    ScriptedReport r;
    const QStringList lines{QStringLiteral("var"),
                            QStringLiteral("h: Extended;"),
                            QStringLiteral("begin"),
                            QStringLiteral("h := MasterData1.Height + fr01cm;"),
                            QStringLiteral("Set('Total', Memo14.Name);"),
                            QStringLiteral("end.")};
    EXPECT_EQ(r.run(lines, QStringLiteral("h")).toDouble(), 22.5 + 3.77953);
    EXPECT_EQ(r.report.Variables().Value(QStringLiteral("total")), Variant(QStringLiteral("Memo14")));

    const char *names[] = {"MasterData1", "Memo14", "Page1", "Report", "Engine", "Outline", "Value", "Self",
                           "Get", "Set", "IIF", "SUM", "AVG", "MIN", "MAX", "COUNT"};
    for (const char *name : names)
        EXPECT_TRUE(r.report.Script().Find(QString::fromLatin1(name))) << name;
    auto *band = static_cast<ScriptObjectItem *>(r.report.Script().Find(QStringLiteral("masterdata1")));
    EXPECT_EQ(band->object(), r.band);
    EXPECT_TRUE(r.band->inheritsScriptClass(QStringLiteral("TfrxDataBand")));
    EXPECT_TRUE(r.memo->inheritsScriptClass(QStringLiteral("TfrxView")));
    EXPECT_FALSE(r.memo->inheritsScriptClass(QStringLiteral("TfrxBand")));
}

TEST(ReportScript, DefaultScriptHasNoStatements)
{
    ScriptedReport r;
    EXPECT_TRUE(r.report.PrepareScript());
    EXPECT_EQ(r.report.Script().StatementCount(), 0);
    r.report.RunScriptMainBlock();
    EXPECT_TRUE(r.report.Errors().isEmpty());
}

TEST(ReportScript, CompileErrorGoesToTheErrorList)
{
    ScriptedReport r;
    r.report.SetScriptText({QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
                            QStringLiteral("str := 'a'"), QStringLiteral("str := 'b';"), QStringLiteral("end.")});
    EXPECT_FALSE(r.report.PrepareScript());
    ASSERT_EQ(r.report.Errors().size(), 1);
    EXPECT_TRUE(r.report.Errors()[0].startsWith(QStringLiteral("Ошибка в скрипте 5:"))) << r.report.Errors()[0].toStdString();
    EXPECT_TRUE(r.report.Errors()[0].endsWith(QStringLiteral(": ';' expected"))) << r.report.Errors()[0].toStdString();
}

TEST(ReportScript, SelfFollowsTheViewBeingPrinted)
{
    ScriptedReport r;
    ASSERT_TRUE(r.report.PrepareScript());
    r.memo->BeforePrint();
    auto *self = static_cast<ScriptVariable *>(r.report.Script().Find(QStringLiteral("Self")));
    EXPECT_EQ(self->object(), r.memo);
    EXPECT_EQ(r.report.SelfObject(), r.memo);
    r.report.SetScriptValue(Variant(12.5));
    EXPECT_EQ(static_cast<ScriptVariable *>(r.report.Script().Find(QStringLiteral("Value")))->value(), Variant(12.5));
}
