#pragma once

#include "report/model/data_set.h"
#include "report/model/frame.h"
#include "report/model/report_component.h"

namespace vornak {

// A visible object placed in a band: frame, fill, alignment, data binding.
class TfrxView : public TfrxReportComponent {
public:
    using TfrxReportComponent::TfrxReportComponent;
    QString ClassName() const override { return QStringLiteral("TfrxView"); }

    TfrxAlign Align() const { return align_; }
    void SetAlign(TfrxAlign value) { align_ = value; }
    TBrushStyle BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(TBrushStyle value) { brushStyle_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TfrxFrame &Frame() { return frame_; }
    const TfrxFrame &Frame() const { return frame_; }
    TfrxShiftMode ShiftMode() const { return shiftMode_; }
    void SetShiftMode(TfrxShiftMode value) { shiftMode_ = value; }
    bool Printable() const { return printable_; }
    void SetPrintable(bool value) { printable_ = value; }
    // Setting the data set sets the name to its user name; setting the name looks the data set up.
    TfrxDataSet *DataSet() const { return binding_.DataSet(); }
    void SetDataSet(TfrxDataSet *value) { binding_.SetDataSet(value); }
    QString DataSetName() const { return binding_.Name(); }
    void SetDataSetName(const QString &value);
    const QString &DataField() const { return dataField_; }
    void SetDataField(const QString &value) { dataField_ = value; }
    int Cursor() const { return cursor_; }
    void SetCursor(int value) { cursor_ = value; }
    const QString &Hint() const { return hint_; }
    void SetHint(const QString &value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }
    const QString &TagStr() const { return tagStr_; }
    void SetTagStr(const QString &value) { tagStr_ = value; }
    const QString &URL() const { return url_; }
    void SetURL(const QString &value) { url_ = value; }

    // True when the view has a data set and a field name.
    bool IsDataField() const;

    // Also remembers TagStr and URL and makes the view the report's current "Self".
    void BeforePrint() override;
    // Evaluated by the report's expression cache (TagStr and URL; a text object's printed text).
    void GetData() override;
    void AfterPrint() override;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

private:
    TfrxAlign align_ = baNone;
    TBrushStyle brushStyle_ = bsSolid;
    TColor color_ = clTransparent;
    TfrxFrame frame_;
    TfrxShiftMode shiftMode_ = smAlways;
    bool printable_ = true;
    TfrxDataSetBinding binding_;
    QString dataField_;
    int cursor_ = 0;
    QString hint_;
    bool showHint_ = false;
    QString tagStr_;
    QString url_;
    QString savedTagStr_;
    QString savedUrl_;
};

// Stored properties of a frame under a prefix ("Frame."), for the classes that have one.
// `frame` gives the object's frame.
TfrxPropertyList frxFrameProperties(const QString &prefix, std::function<TfrxFrame &(TfrxComponent &)> frame);

}  // namespace vornak
