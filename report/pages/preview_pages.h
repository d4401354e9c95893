#pragma once

// The prepared pages store. The band engine hands it every finished page; it keeps the whole
// prepared report as one tree of text items and each printed object only as its difference
// from the source copy of the template object it was printed from. PageAt rebuilds a live page
// from the source copy and the stored differences, and a small cache keeps paging cheap.
//
// Document sections (children of the root, created on first use):
//   "previewpages"       one item per page: "page<n>" (n = index of its source page) holding the
//                        object items, or "TfrxReportPage" for a page stored whole by ModifyPage
//   "outline"            outline entries (stays empty: no object of this system adds any)
//   "anchors"            "item" text/page/top: named positions
//   "logicalpagenumbers" "page" n (logical number), t (logical total, after a reset)
//   "cutted"             object items moved off the page by CutObjects until PasteObjects
// An object item is named by its alias with the difference as Text; an object that has no
// source copy is named by its class with its full component text.

#include "report/model/custom_preview_pages.h"
#include "report/pages/dictionary.h"
#include "report/pages/object_diff.h"
#include "report/pages/page_cache.h"
#include "report/pages/xml_item.h"
#include "report/pages/xml_serializer.h"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace vornak {

class TfrxCustomEngine;
class TfrxReport;

class TfrxPreviewPages : public TfrxCustomPreviewPages {
public:
    // `report` owns the store; its preview and engine options are read from it (it may be
    // nullptr: the default options then apply).
    explicit TfrxPreviewPages(TfrxReport *report = nullptr);
    ~TfrxPreviewPages() override;

    void Clear() override;
    void Initialize() override;
    void BeginPass() override;
    void AddSourcePage(TfrxReportPage *page) override;
    void AddPage(TfrxReportPage *page) override;
    void AddObject(TfrxComponent *object) override;
    void AddToSourcePage(TfrxComponent *object) override;
    bool BandExists(TfrxBand *band) override;
    int GetCurPosition() override;
    void CutObjects(int position) override;
    void PasteObjects(double x, double y) override;
    double GetLastY(double columnPosition = 0) override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddAnchor(const QString &text) override;
    int GetAnchorCurPosition() override;
    void ShiftAnchors(int from, double newTop) override;
    void ClearFirstPassPages() override;
    void Finish() override;
    void UnlinkSourcePages() override;

    int Count() override;
    TfrxReportPage *PageAt(int index) override;
    QSize PageSizeAt(int index) override;
    void ClearCache() override { cache_.clear(); }
    void AddEmptyPage(int index) override;
    void DeletePage(int index) override;
    void ModifyPage(int index, TfrxReportPage *page) override;

    // Where the store reports to its report (the report passes these on to the preview).
    std::function<void()> OnPreparationStarted;
    std::function<void(int pages)> OnProgress;
    std::function<void()> OnPreparationStopped;

    // The last Y reached on the page: what GetLastY gives when no band on the page counts.
    double LastY = 0;

    // Inspection.
    TfrxXMLDocument &Document() { return document_; }
    TfrxDictionary &Dictionary() { return dictionary_; }
    int SourcePageCount() const { return int(sourcePages_.size()); }
    TfrxReportPage *SourcePages(int index) const { return sourcePages_[size_t(index)].get(); }
    // The text every prepared instance of a source object is rebuilt from.
    QString SourceComponentText(const TfrxComponent *sourceObject) const;
    // Characters of text added to the document (what a file cache would weigh).
    qint64 AddedTextSize() const { return addedTextSize_; }
    QString TempDir;
    bool PictureCacheInFile = false;

private:
    struct ItemGeometry;
    ItemGeometry geometry(const TfrxXMLItem &item) const;
    TfrxXMLItem *section(const QString &name) { return document_.Root().FindItem(name); }
    TfrxXMLItem *pages() { return section(QStringLiteral("previewpages")); }
    TfrxXMLItem *currentPage();  // raises EngineError when no page is being prepared
    void checkIndex(int index);
    void addObjectItem(TfrxXMLItem &parent, const TfrxComponent &object);
    // Copies `object` under `parent` in source page `pageIndex`, with its alias and text.
    void addSourceObject(TfrxComponent &object, TfrxComponent &parent, int pageIndex);
    void registerSourceObject(TfrxComponent &original, TfrxComponent &copy, int pageIndex);
    std::unique_ptr<TfrxReportPage> rebuild(int index);
    void rebuildObject(const TfrxXMLItem &item, TfrxComponent &parent);
    int pagesInCache() const;
    // The band engine's run state, read from the report's engine (none: not running).
    const TfrxCustomEngine *engine() const;
    bool engineRunning() const;   // the page cache is not looked up: every PageAt rebuilds
    bool firstPassOfTwo() const;  // objects are stored with the plain component difference
    bool finalPassOfTwo() const;  // logical page numbers are kept from the first pass

    TfrxReport *report_;
    TfrxXMLDocument document_;
    TfrxDictionary dictionary_;
    std::vector<std::unique_ptr<TfrxReportPage>> sourcePages_;  // SourcePages, by order of addition
    std::vector<const TfrxReportPage *> templatePages_;         // the template page of each
    // What the store keeps of each source object: every prepared instance is written as its
    // difference from `diffBase` and rebuilt from `parsed`.
    struct SourceObject {
        QString text;                // its component text
        ParsedComponentText parsed;  // the same, read once
        TfrxDiffBase diffBase;       // its compared values, read once
    };
    std::unordered_map<const TfrxComponent *, SourceObject> sourceObjects_;
    PageCache cache_;
    int logicalPageNumber_ = 0;  // counter of the current numbering run
    qint64 addedTextSize_ = 0;
    // Where the current pass started (BeginPass), for ClearFirstPassPages.
    struct PassStart {
        int page;
        int objects;
        int outline;
    };
    std::optional<PassStart> passStart_;
};

// The store of `report`, created there on first use.
TfrxPreviewPages &frxPreviewPages(TfrxReport &report);

}  // namespace vornak
