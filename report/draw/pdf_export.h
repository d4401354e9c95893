#pragma once

// Prepared pages as a PDF document: every page on paper of its own size and orientation, drawn
// by the same page drawing as the preview, from the paper's corner (the PDF has no margins of
// its own).

#include <QString>

#include <memory>

class QIODevice;

namespace vornak {

class TfrxCustomPreviewPages;

// Writes the PDF of every page of `pages` to `device`, which is open for writing.
void DrawPagesToPdf(TfrxCustomPreviewPages &pages, QIODevice &device, const QString &title = {});

// A PDF file written whole or not at all: opened (created beside `path` under a passing name)
// before the pages are prepared, so a path that cannot be written fails at once; `commit` puts
// the finished document in place. Dropped without commit, it leaves nothing behind.
class PdfFile {
public:
    // Raises Error "Cannot write '<path>': <reason>" when the file cannot be created.
    explicit PdfFile(const QString &path);
    ~PdfFile();

    // Draws the pages and puts the file in place; raises Error when writing fails.
    void commit(TfrxCustomPreviewPages &pages, const QString &title = {});

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace vornak
