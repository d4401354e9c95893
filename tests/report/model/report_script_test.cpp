#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/custom_engine.h"
#include "report/model/data_band.h"
#include "report/model/expression_evaluator.h"
#include "report/model/memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/script/script.h"
#include "report/script/script_object.h"
#include "tests/fixtures/idle_engine.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vornak;
using vornak::testing::IdleEngine;

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

// An expression cache that notes, when it is emptied, whether the items of the previous
// preparation and the engine's notification list are still there.
class RecordingCache : public TfrxExpressionEvaluator {
public:
    explicit RecordingCache(TfrxReport &report)
        : report_(report)
    {
    }
    void Clear(const QString &scriptLanguage) override
    {
        const bool itemsThere = report_.Script().FindLocal(QStringLiteral("MasterData1")) != nullptr;
        log << QStringLiteral("%1 items:%2 notify:%3")
                   .arg(scriptLanguage)
                   .arg(itemsThere)
                   .arg(report_.Engine() ? report_.Engine()->NotifyList.size() : -1);
    }
    Variant Calc(const QString &expression) override { return Variant(QStringLiteral("calc ") + expression); }
    void GetData(TfrxView &view) override { log << QStringLiteral("data ") + view.Name(); }
    QStringList log;

private:
    TfrxReport &report_;
};

}  // namespace

// Each preparation empties the expression cache and the notification list while the items of
// the previous one still exist, then replaces those items: a second and third run in a row
// compile and see the objects afresh.
TEST(ReportScript, PreparationEmptiesTheCacheBeforeTheItemsGo)
{
    ScriptedReport r;
    auto cache = std::make_unique<RecordingCache>(r.report);
    RecordingCache *recording = cache.get();
    r.report.SetExpressionCache(std::move(cache));
    r.report.SetEngine(std::make_unique<IdleEngine>(r.report));
    r.report.SetScriptText({QStringLiteral("var h: Extended;"), QStringLiteral("begin h := MasterData1.Height end.")});
    for (int run = 0; run < 3; ++run) {
        r.report.Engine()->NotifyList.append(r.memo);
        ASSERT_TRUE(r.report.PrepareScript()) << run << r.report.Errors().join(u'\n').toStdString();
        EXPECT_TRUE(r.report.Engine()->NotifyList.isEmpty());
        r.report.RunScriptMainBlock();
        EXPECT_EQ(static_cast<ScriptVariable *>(r.report.Script().Find(QStringLiteral("h")))->value().toDouble(), 22.5);
        EXPECT_EQ(static_cast<ScriptObjectItem *>(r.report.Script().Find(QStringLiteral("Engine")))->object(),
                  r.report.Engine());
    }
    EXPECT_EQ(recording->log, (QStringList{QStringLiteral("PascalScript items:0 notify:1"),
                                           QStringLiteral("PascalScript items:1 notify:1"),
                                           QStringLiteral("PascalScript items:1 notify:1")}));
    EXPECT_EQ(r.report.Calc(QStringLiteral("1 + 1")), Variant(QStringLiteral("calc 1 + 1")));
    r.memo->GetData();
    EXPECT_EQ(recording->log.last(), QStringLiteral("data Memo14"));
}

// Scripts read the engine's run state through "Engine" and may move its position.
TEST(ReportScript, EngineStateIsVisibleToScripts)
{
    ScriptedReport r;
    r.report.SetEngine(std::make_unique<IdleEngine>(r.report));
    r.report.Engine()->CurY = 100;
    r.report.Engine()->PageWidth = 718.1107;
    r.report.SetScriptText(
        {QStringLiteral("var w: Extended; f: Boolean;"),
         QStringLiteral("begin w := Engine.PageWidth; f := Engine.FinalPass; Engine.CurY := Engine.CurY + 5 end.")});
    ASSERT_TRUE(r.report.PrepareScript()) << r.report.Errors().join(u'\n').toStdString();
    r.report.RunScriptMainBlock();
    EXPECT_EQ(static_cast<ScriptVariable *>(r.report.Script().Find(QStringLiteral("w")))->value().toDouble(), 718.1107);
    EXPECT_EQ(static_cast<ScriptVariable *>(r.report.Script().Find(QStringLiteral("f")))->value(), Variant(true));
    EXPECT_EQ(r.report.Engine()->CurY, 105);
    r.report.SetScriptText({QStringLiteral("begin Engine.TotalPages := 3 end.")});
    ASSERT_TRUE(r.report.PrepareScript());
    EXPECT_THROW(r.report.RunScriptMainBlock(), EngineError);
}

TEST(ReportScript, CalcNeedsAnExpressionCache)
{
    ScriptedReport r;
    EXPECT_THROW(r.report.Calc(QStringLiteral("1")), EngineError);
}

// The value of an object's name is the object.
TEST(ReportScript, ObjectNamesGiveTheObjects)
{
    ScriptedReport r;
    ASSERT_TRUE(r.report.PrepareScript());
    EXPECT_EQ(scriptObjectOf(scriptItemValue(*r.report.Script().Find(QStringLiteral("masterdata1")))), r.band);
    EXPECT_EQ(scriptObjectOf(scriptItemValue(*r.report.Script().Find(QStringLiteral("Report")))), &r.report);
}

TEST(ReportScript, StartAndStopEventsRunTheirProcedures)
{
    ScriptedReport r;
    r.report.SetScriptText({QStringLiteral("procedure Started; begin Set('state', 'started') end;"),
                            QStringLiteral("procedure Stopped(Sender: Variant); begin Set('state', Sender.Name) end;"),
                            QStringLiteral("begin end.")});
    r.report.SetName(QStringLiteral("frxReport1"));
    ASSERT_TRUE(r.report.PrepareScript()) << r.report.Errors().join(u'\n').toStdString();
    r.report.DoStartReport();  // no handler named: nothing
    EXPECT_TRUE(r.report.Variables().Value(QStringLiteral("state")).isNull());
    r.report.OnStartReport = QStringLiteral("Started");
    r.report.OnStopReport = QStringLiteral("Stopped");
    r.report.DoStartReport();
    EXPECT_EQ(r.report.Variables().Value(QStringLiteral("state")), Variant(QStringLiteral("started")));
    r.report.DoStopReport();
    EXPECT_EQ(r.report.Variables().Value(QStringLiteral("state")), Variant(QStringLiteral("frxReport1")));
    r.report.OnStopReport = QStringLiteral("Missing");
    EXPECT_THROW(r.report.DoStopReport(), EngineError);
}

TEST(ReportScript, PeriodCaptionScriptDefinesItsVariable)
{
    ScriptedReport r;
    const Variant str =
        r.run({QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
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
                           "Get",         "Set",    "IIF",   "SUM",    "AVG",    "MIN",     "MAX",   "COUNT"};
    for (const char *name : names)
        EXPECT_TRUE(r.report.Script().Find(QString::fromLatin1(name))) << name;
    auto *band = static_cast<ScriptObjectItem *>(r.report.Script().Find(QStringLiteral("masterdata1")));
    EXPECT_EQ(band->object(), r.band);
    EXPECT_TRUE(r.band->inheritsScriptClass(QStringLiteral("TfrxDataBand")));
    EXPECT_TRUE(r.memo->inheritsScriptClass(QStringLiteral("TfrxView")));
    EXPECT_FALSE(r.memo->inheritsScriptClass(QStringLiteral("TfrxBand")));

    // Clearing the script keeps the unit constants the report registered when it was created.
    r.report.Script().Clear();
    EXPECT_NE(r.report.Script().Find(QStringLiteral("fr01cm")), nullptr);
    EXPECT_EQ(r.report.Script().Find(QStringLiteral("MasterData1")), nullptr);
    r.report.SetScriptValue(Variant(1));  // "Value" went with the rest: nothing to set
    r.memo->BeforePrint();
    EXPECT_EQ(r.report.SelfObject(), r.memo);
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
    EXPECT_TRUE(r.report.Errors()[0].startsWith(QStringLiteral("Ошибка в скрипте 5:")))
        << r.report.Errors()[0].toStdString();
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
