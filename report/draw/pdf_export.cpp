#include "report/draw/pdf_export.h"

#include "platform/errors.h"
#include "platform/heap.h"
#include "report/draw/page_drawing.h"
#include "report/draw/pdf_text_layer.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report_page.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace vornak {

namespace {

constexpr double reportDpi = 96;  // report pixels per inch

// The paper of a prepared page, portrait sizes turned by the page's orientation.
QPageLayout paperOf(const TfrxReportPage &page)
{
    const double width = page.PaperWidth();
    const double height = page.PaperHeight();
    const QPageSize size(QSizeF(qMin(width, height), qMax(width, height)), QPageSize::Millimeter);
    return QPageLayout(size, width > height ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

[[noreturn]] void cannotWrite(const QString &path, const QString &reason)
{
    throw Error(QStringLiteral("Cannot write '%1': %2").arg(path, reason));
}

}  // namespace

void DrawPagesToPdf(TfrxCustomPreviewPages &pages, QIODevice &device, const QString &title)
{
    keepLargeBlocksInHeap();  // the writer's buffers of every page are then reused, not mapped again
    TfrxPdfDocument document(device);
    QPdfWriter &writer = document.writer();
    writer.setCreator(QStringLiteral("Мой ворнак"));
    writer.setTitle(title);
    QPainter canvas;
    for (int index = 0; index < pages.Count(); ++index) {
        // The page belongs to the page cache: its paper is read before the drawing rebuilds it.
        const QPageLayout paper = paperOf(*pages.PageAt(index));
        writer.setPageLayout(paper);
        if (index == 0)
            canvas.begin(&writer);
        else
            writer.newPage();
        const double scale = writer.resolution() / reportDpi;
        DrawPage(pages, index, canvas, scale, scale, 0, 0);
        // As after every printed page: a page written out is not shown again, and keeping the
        // last pages rebuilt would only hold their memory while the rest are drawn.
        pages.ClearCache();
    }
    if (!canvas.isActive())
        canvas.begin(&writer);  // a report without pages is still a document: one empty page
    document.end(canvas);       // a write that failed shows when the file is put in place
}

struct PdfFile::Private {
    QString path;
    QSaveFile file;
};

PdfFile::PdfFile(const QString &path)
    : d_(std::make_unique<Private>())
{
    d_->path = path;
    d_->file.setFileName(path);
    if (!d_->file.open(QIODevice::WriteOnly))
        cannotWrite(path, d_->file.errorString());
}

PdfFile::~PdfFile() = default;

void PdfFile::commit(TfrxCustomPreviewPages &pages, const QString &title)
{
    DrawPagesToPdf(pages, d_->file, title);
    if (!d_->file.commit())
        cannotWrite(d_->path, d_->file.errorString());
}

}  // namespace vornak
