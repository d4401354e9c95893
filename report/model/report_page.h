#pragma once

#include "report/model/data_set.h"
#include "report/model/frame.h"
#include "report/model/page.h"

#include <QStringList>

namespace vornak {

class TfrxBand;

// A printable page: paper, margins and bands. Its own Width and Height are always the paper
// size in whole pixels, round(PaperWidth x fr01cm) by round(PaperHeight x fr01cm).
class TfrxReportPage : public TfrxPage {
public:
    explicit TfrxReportPage(TfrxComponent *owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TfrxReportPage"); }

    // Codes below 256 take their size from the paper table (an unknown code changes nothing);
    // 256 and above only store the code (256: custom size).
    int PaperSize() const { return paperSize_; }
    void SetPaperSize(int code);
    double PaperWidth() const { return paperWidth_; }
    double PaperHeight() const { return paperHeight_; }
    // Rounds to 8 decimals and makes the paper custom (256).
    void SetPaperWidth(double value);
    void SetPaperHeight(double value);
    // Swaps width and height and rotates the margins.
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation value);
    double LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(double value) { leftMargin_ = value; }
    double RightMargin() const { return rightMargin_; }
    void SetRightMargin(double value) { rightMargin_ = value; }
    double TopMargin() const { return topMargin_; }
    void SetTopMargin(double value) { topMargin_ = value; }
    double BottomMargin() const { return bottomMargin_; }
    void SetBottomMargin(double value) { bottomMargin_ = value; }
    bool MirrorMargins() const { return mirrorMargins_; }
    void SetMirrorMargins(bool value) { mirrorMargins_ = value; }
    int Columns() const { return columns_; }
    void SetColumns(int value) { columns_ = value; }
    double ColumnWidth() const { return columnWidth_; }
    void SetColumnWidth(double value) { columnWidth_ = value; }
    const QStringList &ColumnPositions() const { return columnPositions_; }
    void SetColumnPositions(const QStringList &value) { columnPositions_ = value; }
    int Bin() const { return bin_; }
    void SetBin(int value) { bin_ = value; }
    int BinOtherPages() const { return binOtherPages_; }
    void SetBinOtherPages(int value) { binOtherPages_ = value; }
    TfrxDuplexMode Duplex() const { return duplex_; }
    void SetDuplex(TfrxDuplexMode value) { duplex_ = value; }
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool value) { printIfEmpty_ = value; }
    bool TitleBeforeHeader() const { return titleBeforeHeader_; }
    void SetTitleBeforeHeader(bool value) { titleBeforeHeader_ = value; }
    int PageCount() const { return pageCount_; }
    void SetPageCount(int value) { pageCount_ = value < 1 ? 1 : value; }
    TfrxDataSet *DataSet() const { return binding_.DataSet(); }
    void SetDataSet(TfrxDataSet *value) { binding_.SetDataSet(value); }
    QString DataSetName() const { return binding_.Name(); }
    void SetDataSetName(const QString &value) { binding_.SetName(value, Report()); }
    bool EndlessHeight() const { return endlessHeight_; }
    void SetEndlessHeight(bool value) { endlessHeight_ = value; }
    bool EndlessWidth() const { return endlessWidth_; }
    void SetEndlessWidth(bool value) { endlessWidth_ = value; }
    bool PrintOnPreviousPage() const { return printOnPreviousPage_; }
    void SetPrintOnPreviousPage(bool value) { printOnPreviousPage_ = value; }
    bool ResetPageNumbers() const { return resetPageNumbers_; }
    void SetResetPageNumbers(bool value) { resetPageNumbers_ = value; }
    const QString &OutlineText() const { return outlineText_; }
    void SetOutlineText(const QString &value) { outlineText_ = value; }
    bool BackPictureVisible() const { return backPictureVisible_; }
    void SetBackPictureVisible(bool value) { backPictureVisible_ = value; }
    bool BackPicturePrintable() const { return backPicturePrintable_; }
    void SetBackPicturePrintable(bool value) { backPicturePrintable_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TfrxFrame &Frame() { return frame_; }
    const TfrxFrame &Frame() const { return frame_; }
    bool LargeDesignHeight() const { return largeDesignHeight_; }
    void SetLargeDesignHeight(bool value) { largeDesignHeight_ = value; }
    QString OnBeforePrint;
    QString OnAfterPrint;
    QString OnManualBuild;

    // The first band among the children, in child order, of class `className` (or T) or one
    // derived from it.
    TfrxBand *FindBand(const QString &className) const;
    template <class T>
    T *FindBand() const
    {
        for (TfrxComponent *child : Objects())
            if (auto *band = dynamic_cast<T *>(child))
                return band;
        return nullptr;
    }

    // Printable width and height in pixels (not rounded).
    double PrintableWidth() const { return (paperWidth_ - leftMargin_ - rightMargin_) * fr01cm; }
    double PrintableHeight() const { return (paperHeight_ - topMargin_ - bottomMargin_) * fr01cm; }

    // Aligns loose views and bands on the printable area, then restores the paper size.
    void AlignChildren() override;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // Run-time, built by the band engine: the top-level horizontal and vertical data bands.
    QList<TfrxBand *> FSubBands;
    QList<TfrxBand *> FVSubBands;
    TfrxComponent *Subreport = nullptr;

private:
    void updateDimensions();

    int paperSize_ = 0;
    double paperWidth_ = 0;
    double paperHeight_ = 0;
    TPrinterOrientation orientation_ = poPortrait;
    double leftMargin_ = 0;
    double rightMargin_ = 0;
    double topMargin_ = 0;
    double bottomMargin_ = 0;
    bool mirrorMargins_ = false;
    int columns_ = 0;
    double columnWidth_ = 0;
    QStringList columnPositions_;
    int bin_ = 7;
    int binOtherPages_ = 7;
    TfrxDuplexMode duplex_ = dmNone;
    bool printIfEmpty_ = true;
    bool titleBeforeHeader_ = true;
    int pageCount_ = 1;
    TfrxDataSetBinding binding_;
    bool endlessHeight_ = false;
    bool endlessWidth_ = false;
    bool printOnPreviousPage_ = false;
    bool resetPageNumbers_ = false;
    QString outlineText_;
    bool backPictureVisible_ = true;
    bool backPicturePrintable_ = true;
    TColor color_ = clTransparent;
    TfrxFrame frame_;
    bool largeDesignHeight_ = false;
};

}  // namespace vornak
