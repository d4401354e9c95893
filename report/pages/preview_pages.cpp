// The prepared pages store.
//
// Preparing: AddSourcePage copies a template page once and gives every copied object an alias;
// AddPage appends a page item; AddObject appends, for every visible printable object, an item
// named by its alias whose text is the object's difference from its source copy. Reading:
// PageAt creates a page like the source page and reads each object item back as the source
// copy's component text followed by the stored difference (later attributes override earlier
// ones), then lets the page align its children. Rebuilt pages are cached by index.
#include "report/pages/preview_pages.h"

#include "platform/errors.h"
#include "report/model/band.h"
#include "report/model/class_registry.h"
#include "report/model/custom_engine.h"
#include "report/model/custom_memo_view.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/model/view.h"
#include "report/pages/xml_serializer.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <cmath>

namespace vornak {

namespace {

const QString pageItemPrefix = QStringLiteral("page");
const QString wholePageItem = QStringLiteral("TfrxReportPage");
constexpr double columnTolerance = 0.001;

// Objects that go onto prepared pages: views and bands (not pages, data sources or the report).
bool isPrintedIntoPages(const TfrxComponent &object)
{
    return dynamic_cast<const TfrxView *>(&object) || dynamic_cast<const TfrxBand *>(&object);
}

bool inheritsClass(QString className, const QString &base)
{
    for (; !className.isEmpty(); className = frxParentClassName(className))
        if (className == base)
            return true;
    return false;
}

// The first letter of an alias: "b" for bands, otherwise the object's base name's first letter.
QString aliasBase(const TfrxComponent &object)
{
    if (dynamic_cast<const TfrxBand *>(&object))
        return QStringLiteral("b");
    return object.BaseName().left(1).toLower();
}

QString sourceName(int pageIndex, const QString &objectName)
{
    return QStringLiteral("Page%1.%2").arg(pageIndex).arg(objectName);
}

std::unique_ptr<TfrxReportPage> asReportPage(TfrxComponent *object)
{
    std::unique_ptr<TfrxComponent> owned(object);
    auto *page = dynamic_cast<TfrxReportPage *>(object);
    if (!page)
        throw EngineError(reportText("unknownObjectClass").arg(object->ClassName()));
    owned.release();
    return std::unique_ptr<TfrxReportPage>(page);
}

}  // namespace

// What the store knows of an object item: its class and geometry, from the item's attributes,
// falling back to its source object (or, for an object stored whole, to its full property names).
struct TfrxPreviewPages::ItemGeometry {
    QString className;
    double left = 0, top = 0, height = 0;
};

TfrxPreviewPages::TfrxPreviewPages(TfrxReport *report)
    : report_(report)
{
}

TfrxPreviewPages &frxPreviewPages(TfrxReport &report)
{
    auto *store = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
    if (!store) {
        auto created = std::make_unique<TfrxPreviewPages>(&report);
        store = created.get();
        report.SetPreviewPages(std::move(created));
    }
    return *store;
}

TfrxPreviewPages::~TfrxPreviewPages()
{
    UnlinkSourcePages();
}

TfrxPreviewPages::ItemGeometry TfrxPreviewPages::geometry(const TfrxXMLItem &item) const
{
    ItemGeometry g;
    const TfrxComponent *source = dictionary_.GetObject(item.Name);
    const auto value = [&item](QStringView shortName, QStringView fullName, double fallback) {
        if (item.HasProp(shortName))
            return property_text::toFloat(item.Prop(shortName));
        if (item.HasProp(fullName))
            return property_text::toFloat(item.Prop(fullName));
        return fallback;
    };
    g.className = source ? source->ClassName() : item.Name;
    g.left = value(u"l", u"Left", source ? source->Left() : 0);
    g.top = value(u"t", u"Top", source ? source->Top() : 0);
    g.height = value(u"h", u"Height", source ? source->Height() : 0);
    return g;
}

const TfrxCustomEngine *TfrxPreviewPages::engine() const
{
    return report_ ? report_->Engine() : nullptr;
}

bool TfrxPreviewPages::engineRunning() const
{
    return engine() && engine()->Running;
}

bool TfrxPreviewPages::firstPassOfTwo() const
{
    return engineRunning() && report_->EngineOptions.DoublePass && !engine()->FinalPass;
}

bool TfrxPreviewPages::finalPassOfTwo() const
{
    return engineRunning() && report_->EngineOptions.DoublePass && engine()->FinalPass;
}

int TfrxPreviewPages::pagesInCache() const
{
    return report_ ? report_->PreviewOptions.PagesInCache : TfrxPreviewOptions().PagesInCache;
}

TfrxXMLItem *TfrxPreviewPages::currentPage()
{
    TfrxXMLItem *all = pages();
    if (CurPage < 0 || CurPage >= all->Count())
        throw EngineError(reportText("pageOutOfRange").arg(CurPage + 1).arg(all->Count()));
    return all->Items(CurPage);
}

void TfrxPreviewPages::checkIndex(int index)
{
    const int count = Count();
    if (index < 0 || index >= count)
        throw EngineError(reportText("pageOutOfRange").arg(index + 1).arg(count));
}

// --- Preparing --------------------------------------------------------------------------------

void TfrxPreviewPages::Clear()
{
    cache_.clear();
    UnlinkSourcePages();
    sourcePages_.clear();
    templatePages_.clear();
    sourceObjects_.clear();
    document_.Clear();
    dictionary_.Clear();
    CurPage = -1;
    AddPageAction = apAdd;
    logicalPageNumber_ = 0;
    addedTextSize_ = 0;
    LastY = 0;
    passStart_.reset();
}

void TfrxPreviewPages::Initialize()
{
    if (report_) {
        TempDir = report_->EngineOptions.TempDir;
        PictureCacheInFile = report_->PreviewOptions.PictureCacheInFile;
    }
    if (OnPreparationStarted)
        OnPreparationStarted();
}

void TfrxPreviewPages::BeginPass()
{
    const TfrxXMLItem *all = pages();
    const int lastPage = all->Count() - 1;
    passStart_ = PassStart{lastPage, lastPage >= 0 ? all->Items(lastPage)->Count() : 0,
                           section(QStringLiteral("outline"))->Count()};
    logicalPageNumber_ = 0;
}

void TfrxPreviewPages::registerSourceObject(TfrxComponent &original, TfrxComponent &copy, int pageIndex)
{
    original.OriginalComponent = &copy;
    copy.OriginalComponent = &original;
    const QString alias = dictionary_.CreateUniqueName(aliasBase(copy));
    dictionary_.Add(alias, sourceName(pageIndex, copy.Name()), &copy);
    copy.Alias = alias;
    original.Alias = alias;
    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(&copy)) {
        memo->SetDataSet(nullptr);
        memo->SetDataField(QString());
    }
    const QString text = TfrxXMLSerializer::GetComponentText(copy);
    sourceObjects_.insert_or_assign(&copy, SourceObject{text, ParsedComponentText(text), TfrxDiffBase(copy)});
}

void TfrxPreviewPages::addSourceObject(TfrxComponent &object, TfrxComponent &parent, int pageIndex)
{
    TfrxComponent *copy = frxCreateComponent(object.ClassName(), &parent);
    if (!copy)
        throw EngineError(reportText("unknownObjectClass").arg(object.ClassName()));
    copy->Assign(object);
    registerSourceObject(object, *copy, pageIndex);
    for (TfrxComponent *child : object.Objects())
        addSourceObject(*child, *copy, pageIndex);
}

void TfrxPreviewPages::AddSourcePage(TfrxReportPage *page)
{
    const int pageIndex = int(sourcePages_.size());
    std::unique_ptr<TfrxReportPage> copy = asReportPage(frxCreateComponent(page->ClassName(), nullptr));
    copy->Assign(*page);
    for (TfrxComponent *child : page->Objects())
        addSourceObject(*child, *copy, pageIndex);
    sourcePages_.push_back(std::move(copy));
    templatePages_.push_back(page);
}

void TfrxPreviewPages::AddToSourcePage(TfrxComponent *object)
{
    if (sourcePages_.empty())
        throw EngineError(reportText("unknownSourcePage").arg(object->Name()));
    TfrxReportPage &page = *sourcePages_.back();
    TfrxComponent *copy = frxCreateComponent(object->ClassName(), nullptr);
    if (!copy)
        throw EngineError(reportText("unknownObjectClass").arg(object->ClassName()));
    copy->Assign(*object);
    // The copy's own name is made unique among the source page's objects.
    copy->SetName(QString());
    copy->SetParent(&page);
    copy->CreateUniqueName();
    registerSourceObject(*object, *copy, int(sourcePages_.size()) - 1);
}

void TfrxPreviewPages::AddPage(TfrxReportPage *page)
{
    TfrxXMLItem *all = pages();
    ++CurPage;
    if (CurPage < all->Count() && AddPageAction == apWriteOver)
        return;
    const auto it = std::find(templatePages_.begin(), templatePages_.end(), page);
    const int sourceIndex = it == templatePages_.end() ? -1 : int(it - templatePages_.begin());
    all->Add(pageItemPrefix + QString::number(sourceIndex));
    if (OnProgress)
        OnProgress(CurPage + 1);
    AddPageAction = apWriteOver;
    CurPage = all->Count() - 1;
    IncLogicalPageNumber();
}

void TfrxPreviewPages::addObjectItem(TfrxXMLItem &parent, const TfrxComponent &object)
{
    if (!object.Visible() || !isPrintedIntoPages(object))
        return;
    TfrxXMLItem *item = parent.Add();
    const TfrxComponent *source = object.OriginalComponent;
    if (source && !object.Alias.isEmpty()) {
        item->Name = object.Alias;
        if (firstPassOfTwo())
            item->Text = TfrxXMLSerializer::ObjToXML(object, source);
        else if (const auto known = sourceObjects_.find(source); known != sourceObjects_.end())
            item->Text = frxDiff(object, known->second.diffBase);
        else
            item->Text = frxDiff(object, *source);
    } else {
        item->Name = object.ClassName();
        item->Text = TfrxXMLSerializer::ObjToXML(object);
    }
    addedTextSize_ += item->Name.size() + item->Text.size();
    item->Reserve(int(object.Objects().size()));
    for (const TfrxComponent *child : object.Objects())
        addObjectItem(*item, *child);
}

void TfrxPreviewPages::AddObject(TfrxComponent *object)
{
    addObjectItem(*currentPage(), *object);
}

bool TfrxPreviewPages::BandExists(TfrxBand *band)
{
    const TfrxXMLItem *page = currentPage();
    const bool byClass = dynamic_cast<TfrxPageFooter *>(band) || dynamic_cast<TfrxColumnFooter *>(band);
    for (int i = 0; i < page->Count(); ++i) {
        const TfrxXMLItem *item = page->Items(i);
        if (!band->Alias.isEmpty() && item->Name == band->Alias)
            return true;
        if (byClass && geometry(*item).className == band->ClassName())
            return true;
    }
    return false;
}

int TfrxPreviewPages::GetCurPosition()
{
    return currentPage()->Count();
}

void TfrxPreviewPages::CutObjects(int position)
{
    TfrxXMLItem *page = currentPage();
    TfrxXMLItem *cut = section(QStringLiteral("cutted"));
    while (page->Count() > std::max(position, 0))
        cut->InsertItem(-1, page->TakeItem(std::max(position, 0)));
}

void TfrxPreviewPages::PasteObjects(double x, double y)
{
    TfrxXMLItem &root = document_.Root();
    const int cutIndex = root.Find(QStringLiteral("cutted"));
    if (cutIndex < 0)
        return;
    TfrxXMLItem *cut = root.Items(cutIndex);
    if (cut->Count() > 0) {
        TfrxXMLItem *page = currentPage();
        const ItemGeometry first = geometry(*cut->Items(0));
        const double dx = x - first.left, dy = y - first.top;
        while (cut->Count() > 0) {
            std::unique_ptr<TfrxXMLItem> item = cut->TakeItem(0);
            const ItemGeometry g = geometry(*item);
            item->SetProp(u"l", property_text::fromFloat(g.left + dx));
            item->SetProp(u"t", property_text::fromFloat(g.top + dy));
            page->InsertItem(-1, std::move(item));
        }
    }
    root.Delete(root.Find(QStringLiteral("cutted")));
}

double TfrxPreviewPages::GetLastY(double columnPosition)
{
    const TfrxXMLItem *all = pages();
    if (CurPage < 0 || CurPage >= all->Count())
        return LastY;
    const TfrxXMLItem *page = all->Items(CurPage);
    bool counted = false;
    double lastY = 0;
    for (int i = 0; i < page->Count(); ++i) {
        const ItemGeometry g = geometry(*page->Items(i));
        if (!inheritsClass(g.className, QStringLiteral("TfrxBand")) || g.className == u"TfrxPageFooter" ||
            g.className == u"TfrxOverlay")
            continue;
        const bool alwaysCounts = g.className == u"TfrxPageHeader" || g.className == u"TfrxReportTitle";
        if (columnPosition != 0 && !alwaysCounts && std::abs(g.left - columnPosition) >= columnTolerance)
            continue;
        lastY = counted ? std::max(lastY, g.top + g.height) : g.top + g.height;
        counted = true;
    }
    return counted ? lastY : LastY;
}

void TfrxPreviewPages::IncLogicalPageNumber()
{
    if (finalPassOfTwo())
        return;
    ++logicalPageNumber_;
    section(QStringLiteral("logicalpagenumbers"))
        ->Add(QStringLiteral("page"))
        ->SetProp(u"n", QString::number(logicalPageNumber_));
}

void TfrxPreviewPages::ResetLogicalPageNumber()
{
    if (finalPassOfTwo())
        return;
    TfrxXMLItem *numbers = section(QStringLiteral("logicalpagenumbers"));
    const QString total = QString::number(logicalPageNumber_);
    for (int i = numbers->Count() - 1, left = logicalPageNumber_; i >= 0 && left > 0; --i, --left)
        numbers->Items(i)->SetProp(u"t", total);
    logicalPageNumber_ = 0;
}

int TfrxPreviewPages::GetLogicalPageNo()
{
    const TfrxXMLItem *numbers = section(QStringLiteral("logicalpagenumbers"));
    if (CurPage >= 0 && CurPage < numbers->Count() && numbers->Items(CurPage)->HasProp(u"n"))
        return numbers->Items(CurPage)->Prop(u"n").toInt();
    return CurPage + 1;
}

int TfrxPreviewPages::GetLogicalTotalPages()
{
    const TfrxXMLItem *numbers = section(QStringLiteral("logicalpagenumbers"));
    if (CurPage >= 0 && CurPage < numbers->Count() && numbers->Items(CurPage)->HasProp(u"t"))
        return numbers->Items(CurPage)->Prop(u"t").toInt();
    return engine() ? engine()->TotalPages : 0;
}

void TfrxPreviewPages::AddAnchor(const QString &text)
{
    TfrxXMLItem *anchor = section(QStringLiteral("anchors"))->Add(QStringLiteral("item"));
    anchor->SetProp(u"text", text);
    anchor->SetProp(u"page", QString::number(CurPage));
    anchor->SetProp(u"top", QString::number(std::lround(engine() ? engine()->CurY : 0)));
}

int TfrxPreviewPages::GetAnchorCurPosition()
{
    return section(QStringLiteral("anchors"))->Count();
}

void TfrxPreviewPages::ShiftAnchors(int from, double newTop)
{
    // The anchors from `from` on moved to the current page, keeping their distances, the first
    // one at `newTop` (they follow objects that CutObjects/PasteObjects moved).
    TfrxXMLItem *anchors = section(QStringLiteral("anchors"));
    if (from < 0 || from >= anchors->Count())
        return;
    const double firstTop = anchors->Items(from)->Prop(u"top").toDouble();
    for (int i = from; i < anchors->Count(); ++i) {
        TfrxXMLItem *anchor = anchors->Items(i);
        anchor->SetProp(u"page", QString::number(CurPage));
        anchor->SetProp(u"top", QString::number(std::lround(newTop + anchor->Prop(u"top").toDouble() - firstTop)));
    }
}

void TfrxPreviewPages::ClearFirstPassPages()
{
    cache_.clear();
    if (!passStart_) {
        for (const QString &name :
             {QStringLiteral("previewpages"), QStringLiteral("outline"), QStringLiteral("cutted")})
            if (const int index = document_.Root().Find(name); index >= 0)
                document_.Root().Items(index)->Clear();
        CurPage = -1;
        return;
    }
    TfrxXMLItem *all = pages();
    while (all->Count() > passStart_->page + 1)
        all->Delete(all->Count() - 1);
    if (passStart_->page >= 0) {
        TfrxXMLItem *page = all->Items(passStart_->page);
        while (page->Count() > passStart_->objects)
            page->Delete(page->Count() - 1);
    }
    TfrxXMLItem *outline = section(QStringLiteral("outline"));
    while (outline->Count() > passStart_->outline)
        outline->Delete(outline->Count() - 1);
    CurPage = passStart_->page;
}

void TfrxPreviewPages::UnlinkSourcePages()
{
    for (const auto &page : sourcePages_)
        for (TfrxComponent *copy : page->AllObjects()) {
            if (copy->OriginalComponent && copy->OriginalComponent->OriginalComponent == copy)
                copy->OriginalComponent->OriginalComponent = nullptr;
            copy->OriginalComponent = nullptr;
        }
}

void TfrxPreviewPages::Finish()
{
    LastY = 0;
    logicalPageNumber_ = 0;
    cache_.clear();
    UnlinkSourcePages();
    if (OnPreparationStopped)
        OnPreparationStopped();
}

// --- Reading ----------------------------------------------------------------------------------

QString TfrxPreviewPages::SourceComponentText(const TfrxComponent *sourceObject) const
{
    const auto known = sourceObjects_.find(sourceObject);
    return known == sourceObjects_.end() ? QString() : known->second.text;
}

int TfrxPreviewPages::Count()
{
    return pages()->Count();
}

void TfrxPreviewPages::rebuildObject(const TfrxXMLItem &item, TfrxComponent &parent)
{
    TfrxComponent *object;
    // The source's component text followed by the stored difference, read from the source's
    // text as parsed once.
    const auto known = sourceObjects_.find(dictionary_.GetObject(item.Name));
    if (known != sourceObjects_.end())
        object = known->second.parsed.Create(&parent, item.Text);
    else
        object = TfrxXMLSerializer::ReadComponentStr(&parent, item.Name + u' ' + item.Text);
    for (int i = 0; i < item.Count(); ++i)
        rebuildObject(*item.Items(i), *object);
}

std::unique_ptr<TfrxReportPage> TfrxPreviewPages::rebuild(int index)
{
    const TfrxXMLItem *item = pages()->Items(index);
    std::unique_ptr<TfrxReportPage> page;
    if (item->Name == wholePageItem) {
        page = asReportPage(TfrxXMLSerializer::ReadComponentStr(nullptr, item->Name + u' ' + item->Text));
    } else {
        bool ok = false;
        const int sourceIndex = QStringView(item->Name).sliced(pageItemPrefix.size()).toInt(&ok);
        if (!ok || sourceIndex < 0 || sourceIndex >= SourcePageCount())
            throw EngineError(reportText("unknownSourcePage").arg(item->Name));
        const TfrxReportPage &source = *sourcePages_[size_t(sourceIndex)];
        page = asReportPage(frxCreateComponent(source.ClassName(), nullptr));
        page->Assign(source);
        page->SetName(source.Name());
    }
    for (int i = 0; i < item->Count(); ++i)
        rebuildObject(*item->Items(i), *page);
    page->AlignChildren();
    return page;
}

TfrxReportPage *TfrxPreviewPages::PageAt(int index)
{
    if (Count() == 0)
        return nullptr;
    checkIndex(index);
    if (!engineRunning())
        if (TfrxReportPage *cached = cache_.find(index))
            return cached;
    return cache_.add(index, rebuild(index), pagesInCache());
}

QSize TfrxPreviewPages::PageSizeAt(int index)
{
    if (index < 0 || index >= Count())
        return QSize(0, 0);
    const QString &name = pages()->Items(index)->Name;
    if (name.startsWith(pageItemPrefix)) {
        bool ok = false;
        const int sourceIndex = QStringView(name).sliced(pageItemPrefix.size()).toInt(&ok);
        if (ok && sourceIndex >= 0 && sourceIndex < SourcePageCount()) {
            const TfrxReportPage &source = *sourcePages_[size_t(sourceIndex)];
            return QSize(int(std::lround(source.Width())), int(std::lround(source.Height())));
        }
    }
    const TfrxReportPage *page = PageAt(index);
    return QSize(int(std::lround(page->Width())), int(std::lround(page->Height())));
}

void TfrxPreviewPages::AddEmptyPage(int index)
{
    checkIndex(index);
    const TfrxXMLItem *model = pages()->Items(index);
    auto empty = std::make_unique<TfrxXMLItem>(model->Name);
    empty->Text = model->Text;
    pages()->InsertItem(index, std::move(empty));
    cache_.clear();
}

void TfrxPreviewPages::DeletePage(int index)
{
    if (Count() <= 1)
        return;
    checkIndex(index);
    pages()->Delete(index);
    cache_.clear();
    CurPage = std::min(CurPage, Count() - 1);
}

namespace {

void addWholeObject(TfrxXMLItem &parent, const TfrxComponent &object)
{
    TfrxXMLItem *item = parent.Add(object.ClassName());
    item->Text = TfrxXMLSerializer::ObjToXML(object);
    for (const TfrxComponent *child : object.Objects())
        addWholeObject(*item, *child);
}

}  // namespace

void TfrxPreviewPages::ModifyPage(int index, TfrxReportPage *page)
{
    checkIndex(index);
    auto whole = std::make_unique<TfrxXMLItem>(wholePageItem);
    whole->Text = TfrxXMLSerializer::ObjToXML(*page);
    for (const TfrxComponent *child : page->Objects())
        addWholeObject(*whole, *child);
    TfrxXMLItem *all = pages();
    all->Delete(index);
    all->InsertItem(index, std::move(whole));
    cache_.clear();
}

}  // namespace vornak
