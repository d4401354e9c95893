#include "report/model/report.h"

#include "platform/errors.h"
#include "report/model/custom_draw_text.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_preview.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/data_set_properties.h"
#include "report/model/expression_evaluator.h"
#include "report/model/template_reader.h"
#include "report/model/template_writer.h"
#include "report/model/view.h"
#include "report/script/report_text.h"
#include "report/script/script.h"

#include <algorithm>
#include <QTimer>

namespace vornak {

TfrxReport::TfrxReport(TfrxComponent *owner)
    : TfrxComponent(owner),
      timer_(std::make_unique<QTimer>()),
      script_(std::make_unique<TfsScript>())
{
    timer_->setInterval(50);
    timer_->setSingleShot(true);
    resetProperties();
    const std::pair<const char *, Variant> units[] = {
        {"fr01cm", Variant(fr01cm)}, {"fr1cm", Variant(fr1cm)},       {"fr01in", Variant(fr01in)},
        {"fr1in", Variant(fr1in)},   {"fr1CharX", Variant(fr1CharX)}, {"fr1CharY", Variant(fr1CharY)},
    };
    for (const auto &[name, value] : units)
        script_->AddConst(
            QString::fromLatin1(name),
            value.type() == Variant::Type::Integer ? QStringLiteral("Integer") : QStringLiteral("Extended"), value);
    script_->KeepRegisteredItems();
}

TfrxReport::~TfrxReport()
{
    // The run's parts refer to the objects and the script (the expression cache compiles below
    // it): they go first, then the children, before the lists and the script.
    if (preview_)
        preview_->ReportDestroyed();
    engine_.reset();
    expressionCache_.reset();
    previewPages_.reset();
    drawText_.reset();
    TfrxComponent::Clear();
}

void TfrxReport::SetEngine(std::unique_ptr<TfrxCustomEngine> engine)
{
    engine_ = std::move(engine);
}

void TfrxReport::SetPreviewPages(std::unique_ptr<TfrxCustomPreviewPages> pages)
{
    previewPages_ = std::move(pages);
}

void TfrxReport::SetExpressionCache(std::unique_ptr<TfrxExpressionEvaluator> cache)
{
    expressionCache_ = std::move(cache);
}

void TfrxReport::SetDrawText(std::unique_ptr<TfrxCustomDrawText> drawText)
{
    drawText_ = std::move(drawText);
}

bool TfrxReport::Print()
{
    return PrintPages && PrintPages(*this);
}

Variant TfrxReport::Calc(const QString &expression)
{
    if (!expressionCache_)
        throw EngineError(reportText("noExpressionCache").arg(expression));
    return expressionCache_->Calc(expression);
}

namespace {

void runReportEvent(TfrxReport &report, const QString &handler)
{
    if (ScriptProcedure *procedure = report.Script().EventHandler(handler))
        procedure->Call(procedure->parameters().empty() ? QList<Variant>{}
                                                        : QList<Variant>{scriptObjectValue(&report)});
}

}  // namespace

void TfrxReport::DoStartReport()
{
    runReportEvent(*this, OnStartReport);
}

void TfrxReport::DoStopReport()
{
    runReportEvent(*this, OnStopReport);
}

bool TfrxReport::PrepareScript()
{
    TfsScript &script = *script_;
    if (expressionCache_)
        expressionCache_->Clear(scriptLanguage_);
    if (engine_)
        engine_->NotifyList.clear();
    scriptVariables_ = {};
    script.ClearItems(this);
    script.SetAdder(this);
    script.SetMainProg(true);
    for (TfrxComponent *object : AllObjects()) {
        object->IsDesigning = false;
        object->BeforeStartReport();
        script.AddObject(object->Name(), object);
    }
    ReportScriptNames names = ScriptNames;
    names.report = this;
    if (!names.engine)
        names.engine = engine_.get();
    if (!names.set)
        names.set = [this](const QString &, const QList<Variant> &arguments) {
            variables_.SetVariable(arguments.value(0).toString(), arguments.value(1));
            return Variant();
        };
    scriptVariables_ = registerReportNames(script, names);
    script.SetLines(scriptText_);
    script.SetSyntaxType(scriptLanguage_);
    const bool compiled = script.Compile();
    scriptVariablesRemovals_ = script.Removals();  // a compile keeps what was registered before it
    if (!compiled)
        AddError(reportText("scriptError").arg(script.ErrorPos(), script.ErrorMsg()));
    script.SetAdder(nullptr);
    return compiled;
}

void TfrxReport::RunScriptMainBlock()
{
    if (script_->StatementCount() > 0)
        script_->Execute();
}

void TfrxReport::SetScriptValue(const Variant &value)
{
    if (scriptVariables_.value && script_->Removals() == scriptVariablesRemovals_)
        scriptVariables_.value->setValue(value);
}

void TfrxReport::SetSelfObject(TfrxView *view)
{
    self_ = view;
    if (scriptVariables_.self && script_->Removals() == scriptVariablesRemovals_)
        scriptVariables_.self->setObject(view);
}

void TfrxReport::resetProperties()
{
    dataSets_.Clear();
    variables_.Clear();
    styles_.clear();
    EngineOptions = {};
    PrintOptions = {};
    PreviewOptions = {};
    ReportOptions = {};
    scriptLanguage_ = QStringLiteral("PascalScript");
    scriptText_ = {QStringLiteral("begin"), QString(), QStringLiteral("end.")};
    iniFile_ = QStringLiteral("\\Software\\Vornak\\Reports");
    systemVariables_ = {QStringLiteral("Date"),  QStringLiteral("Time"),       QStringLiteral("Page"),
                        QStringLiteral("Page#"), QStringLiteral("TotalPages"), QStringLiteral("TotalPages#"),
                        QStringLiteral("Line"),  QStringLiteral("Line#"),      QStringLiteral("CopyName#")};
}

void TfrxReport::Clear()
{
    if (previewPages_)
        previewPages_->UnlinkSourcePages();
    TfrxComponent::Clear();
    binding_ = {};
    dotMatrixReport_ = false;
    showProgress_ = true;
    oldStyleProgress_ = false;
    storeInDFM_ = true;
    parentReport_.clear();
    OnStartReport.clear();
    OnStopReport.clear();
    SetSelfObject(nullptr);
    resetProperties();
}

TfrxDataSet *TfrxReport::GetDataset(const QString &userName) const
{
    for (int i = 0; i < dataSets_.Count(); ++i)
        if (TfrxDataSet *dataSet = dataSets_.Items(i).DataSet())
            if (SameName(dataSet->UserName(), userName))
                return dataSet;
    return nullptr;
}

QString TfrxReport::GetAlias(const TfrxDataSet *dataSet) const
{
    if (!dataSet)
        return QString();
    if (dataSets_.Find(dataSet))
        return dataSet->UserName();
    return reportText("dataSetNotInReport");
}

QList<TfrxDataSet *> TfrxReport::EnabledDataSets() const
{
    QList<TfrxDataSet *> list;
    for (int i = 0; i < dataSets_.Count(); ++i)
        if (TfrxDataSet *dataSet = dataSets_.Items(i).DataSet(); dataSet && dataSet->Enabled())
            list.append(dataSet);
    return list;
}

bool TfrxReport::CheckDataSets()
{
    bool ok = true;
    for (int i = 0; i < dataSets_.Count(); ++i)
        if (!dataSets_.Items(i).DataSet()) {
            AddError(reportText("dataSetNotFound").arg(dataSets_.Items(i).DataSetName()));
            ok = false;
        }
    return ok;
}

void TfrxReport::AddError(const QString &text)
{
    const auto less = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    const auto at = std::lower_bound(errors_.begin(), errors_.end(), text, less);
    if (at != errors_.end() && at->compare(text, Qt::CaseInsensitive) == 0)
        return;
    errors_.insert(at, text);
}

QString TfrxReport::SaveToText() const
{
    return TfrxTemplateWriter().Write(*this);
}

void TfrxReport::LoadFromText(const QString &text)
{
    try {
        TfrxTemplateReader(TfrxTemplateLinks{}).Read(text, *this);
    } catch (const EngineError &error) {
        AddError(error.message());
    }
}

namespace {

template <class S>
struct OptionBuilder {
    S TfrxReport::*group;
    QString prefix;

    // A field of an option group; its default is the field of a default group.
    template <class T>
    TfrxPropertyInfo make(const char *name, T S::*field, TfrxPropertyKind kind, QStringList identifiers = {}) const
    {
        const auto g = group;
        static const S defaults{};
        return frxProperty<T>(
            prefix + QString::fromLatin1(name), kind,
            [g, field](const TfrxComponent &o) { return static_cast<const TfrxReport &>(o).*g.*field; },
            [g, field](TfrxComponent &o, T value) { static_cast<TfrxReport &>(o).*g.*field = value; }, defaults.*field,
            std::move(identifiers));
    }
    TfrxPropertyInfo boolean(const char *name, bool S::*field) const
    {
        return make<bool>(name, field, TfrxPropertyKind::Boolean);
    }
    TfrxPropertyInfo integer(const char *name, int S::*field) const
    {
        return make<int>(name, field, TfrxPropertyKind::Integer);
    }
    TfrxPropertyInfo real(const char *name, double S::*field) const
    {
        return make<double>(name, field, TfrxPropertyKind::Float);
    }
    TfrxPropertyInfo text(const char *name, QString S::*field) const
    {
        return make<QString>(name, field, TfrxPropertyKind::Text);
    }
    TfrxPropertyInfo lines(const char *name, QStringList S::*field) const
    {
        return make<QStringList>(name, field, TfrxPropertyKind::Lines);
    }
    template <class E>
    TfrxPropertyInfo enumeration(const char *name, E S::*field, QStringList names) const
    {
        const auto g = group;
        static const S defaults{};
        return frxProperty<int>(
            prefix + QString::fromLatin1(name), TfrxPropertyKind::Enumeration,
            [g, field](const TfrxComponent &o) { return int(static_cast<const TfrxReport &>(o).*g.*field); },
            [g, field](TfrxComponent &o, int value) { static_cast<TfrxReport &>(o).*g.*field = E(value); },
            int(defaults.*field), std::move(names));
    }
    TfrxPropertyInfo set(const char *name, int S::*field, QStringList names) const
    {
        return make<int>(name, field, TfrxPropertyKind::Set, std::move(names));
    }
};

}  // namespace

const TfrxPropertyList &TfrxReport::ClassProperties()
{
    using C = TfrxReport;
    using B = PropertyBuilder<C>;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l;
        l << FRX_TEXT(C, Name)
          << B::Text(
                 QStringLiteral("Version"), [](const C &o) { return o.Version(); },
                 [](C &o, QString v) { o.SetVersion(v); }, std::nullopt)
          << FRX_BOOL(C, DotMatrixReport, false)
          << B::Text(
                 QStringLiteral("IniFile"), [](const C &o) { return o.IniFile(); },
                 [](C &o, QString v) { o.SetIniFile(v); }, QStringLiteral("\\Software\\Vornak\\Reports"))
          << B::Reference(
                 QStringLiteral("Preview"), [](const C &o) { return o.Preview() ? o.Preview()->Name() : QString(); },
                 [](C &o, const QString &name, const TfrxReferenceResolver &resolver) {
                     if (name.isEmpty())
                         o.SetPreview(nullptr);
                     else if (TfrxCustomPreview *preview = resolver.FindPreview(name))
                         o.SetPreview(preview);
                 });

        const OptionBuilder<TfrxPreviewOptions> preview{&C::PreviewOptions, QStringLiteral("PreviewOptions.")};
        l << preview.boolean("AllowEdit", &TfrxPreviewOptions::AllowEdit)
          << preview.set("Buttons", &TfrxPreviewOptions::Buttons,
                         {QStringLiteral("pbPrint"), QStringLiteral("pbLoad"), QStringLiteral("pbSave"),
                          QStringLiteral("pbExport"), QStringLiteral("pbZoom"), QStringLiteral("pbFind"),
                          QStringLiteral("pbOutline"), QStringLiteral("pbPageSetup"), QStringLiteral("pbTools"),
                          QStringLiteral("pbEdit"), QStringLiteral("pbNavigator"), QStringLiteral("pbExportQuick"),
                          QStringLiteral("pbNoClose"), QStringLiteral("pbNoFullScreen"), QStringLiteral("pbNoEmail")})
          << preview.boolean("DoubleBuffered", &TfrxPreviewOptions::DoubleBuffered)
          << preview.boolean("Maximized", &TfrxPreviewOptions::Maximized)
          << preview.boolean("MDIChild", &TfrxPreviewOptions::MDIChild)
          << preview.boolean("Modal", &TfrxPreviewOptions::Modal)
          << preview.boolean("OutlineExpand", &TfrxPreviewOptions::OutlineExpand)
          << preview.boolean("OutlineVisible", &TfrxPreviewOptions::OutlineVisible)
          << preview.integer("OutlineWidth", &TfrxPreviewOptions::OutlineWidth)
          << preview.integer("PagesInCache", &TfrxPreviewOptions::PagesInCache)
          << preview.boolean("ShowCaptions", &TfrxPreviewOptions::ShowCaptions)
          << preview.boolean("ThumbnailVisible", &TfrxPreviewOptions::ThumbnailVisible)
          << preview.real("Zoom", &TfrxPreviewOptions::Zoom)
          << preview.enumeration("ZoomMode", &TfrxPreviewOptions::ZoomMode,
                                 {QStringLiteral("zmDefault"), QStringLiteral("zmWholePage"),
                                  QStringLiteral("zmPageWidth"), QStringLiteral("zmManyPages")})
          << preview.boolean("PictureCacheInFile", &TfrxPreviewOptions::PictureCacheInFile);

        const OptionBuilder<TfrxPrintOptions> print{&C::PrintOptions, QStringLiteral("PrintOptions.")};
        l << print.integer("Copies", &TfrxPrintOptions::Copies) << print.boolean("Collate", &TfrxPrintOptions::Collate)
          << print.text("PageNumbers", &TfrxPrintOptions::PageNumbers)
          << print.text("Printer", &TfrxPrintOptions::Printer)
          << print.enumeration("PrintMode", &TfrxPrintOptions::PrintMode,
                               {QStringLiteral("pmDefault"), QStringLiteral("pmSplit"), QStringLiteral("pmJoin"),
                                QStringLiteral("pmScale")})
          << print.integer("PrintOnSheet", &TfrxPrintOptions::PrintOnSheet)
          << print.enumeration("PrintPages", &TfrxPrintOptions::PrintPages,
                               {QStringLiteral("ppAll"), QStringLiteral("ppOdd"), QStringLiteral("ppEven")})
          << print.boolean("Reverse", &TfrxPrintOptions::Reverse)
          << print.boolean("ShowDialog", &TfrxPrintOptions::ShowDialog);

        const OptionBuilder<TfrxReportOptions> report{&C::ReportOptions, QStringLiteral("ReportOptions.")};
        l << report.text("Author", &TfrxReportOptions::Author)
          << report.boolean("Compressed", &TfrxReportOptions::Compressed)
          << report.text("ConnectionName", &TfrxReportOptions::ConnectionName)
          << report.real("CreateDate", &TfrxReportOptions::CreateDate)
          << report.lines("Description.Text", &TfrxReportOptions::Description)
          << report.text("InitString", &TfrxReportOptions::InitString)
          << report.real("LastChange", &TfrxReportOptions::LastChange) << report.text("Name", &TfrxReportOptions::Name)
          << report.text("Password", &TfrxReportOptions::Password)
          << report.text("VersionBuild", &TfrxReportOptions::VersionBuild)
          << report.text("VersionMajor", &TfrxReportOptions::VersionMajor)
          << report.text("VersionMinor", &TfrxReportOptions::VersionMinor)
          << report.text("VersionRelease", &TfrxReportOptions::VersionRelease);

        const OptionBuilder<TfrxEngineOptions> engine{&C::EngineOptions, QStringLiteral("EngineOptions.")};
        l << engine.boolean("ConvertNulls", &TfrxEngineOptions::ConvertNulls)
          << engine.boolean("DoublePass", &TfrxEngineOptions::DoublePass)
          << engine.integer("MaxMemSize", &TfrxEngineOptions::MaxMemSize)
          << engine.boolean("PrintIfEmpty", &TfrxEngineOptions::PrintIfEmpty)
          << engine.enumeration(
                 "NewSilentMode", &TfrxEngineOptions::NewSilentMode,
                 {QStringLiteral("simMessageBoxes"), QStringLiteral("simSilent"), QStringLiteral("simReThrow")})
          << engine.text("TempDir", &TfrxEngineOptions::TempDir)
          << engine.boolean("UseFileCache", &TfrxEngineOptions::UseFileCache)
          << engine.boolean("IgnoreDevByZero", &TfrxEngineOptions::IgnoreDevByZero);

        l << B::Text(
                 QStringLiteral("ScriptLanguage"), [](const C &o) { return o.ScriptLanguage(); },
                 [](C &o, QString v) { o.SetScriptLanguage(v); }, QStringLiteral("PascalScript"))
          << B::Lines(
                 QStringLiteral("ScriptText.Text"), [](const C &o) { return o.ScriptText(); },
                 [](C &o, QStringList v) { o.SetScriptText(v); },
                 QStringList{QStringLiteral("begin"), QString(), QStringLiteral("end.")});
        l << frxDataSetProperties<C>();
        l << FRX_BOOL(C, ShowProgress, true) << FRX_BOOL(C, OldStyleProgress, false) << FRX_BOOL(C, StoreInDFM, true)
          << FRX_TEXT(C, ParentReport);
        const auto handler = [](const char *name, QString C::*field) {
            return B::Text(
                QString::fromLatin1(name), [field](const C &o) { return o.*field; },
                [field](C &o, QString v) { o.*field = v; });
        };
        l << handler("OnStartReport", &C::OnStartReport) << handler("OnStopReport", &C::OnStopReport);
        return l;
    }();
    return list;
}

}  // namespace vornak
