#pragma once

#include <functional>
#include <QString>

namespace vornak {

class TfrxReport;
class TfrxDataSet;
class TfrxCustomPreview;

// The components a template refers to by name that live outside the report (its data sources
// and its preview control, created by the window that owns the report).
struct TfrxTemplateLinks {
    std::function<TfrxDataSet *(const QString &componentName)> findDataSet;
    std::function<TfrxCustomPreview *(const QString &componentName)> findPreview;

    // A findDataSet over a list of owned data sets (smart pointers), by component name; the list
    // must outlive the reading.
    template <class DataSets>
    static std::function<TfrxDataSet *(const QString &)> dataSetIn(const DataSets &dataSets)
    {
        return [&dataSets](const QString &name) -> TfrxDataSet * {
            for (const auto &dataSet : dataSets)
                if (dataSet->Name() == name)
                    return dataSet.get();
            return nullptr;
        };
    }
};

// Reads a report template into a report.
//
// The template text form is XML (UTF-8). Each report object is one element named after its
// class, nested in tree order: the report, its pages, in a page its bands and loose views, in a
// band its views. Its attributes are its stored properties, applied in the order written; a
// property equal to its default is left out.
//
//   <TfrxReport Name="frxReport1" ScriptText.Text="begin&#13;&#10;&#13;&#10;end.">
//     <Datasets>
//       <item DataSet="frxDBDataset4" DataSetName="Source1"/>
//     </Datasets>
//     <TfrxReportPage Name="Page1" PaperWidth="210" PaperHeight="297" PaperSize="9">
//       <TfrxMasterData Name="MasterData1" Top="294.80334" Height="22.67718" DataSet="frxDBDataset4"/>
//       ...
//
// Values:
// - numbers with a full stop; Booleans True or False; enumerations by identifier (haCenter);
// - sets as a bit sum or as identifiers in brackets: Frame.Typ="[ftLeft,ftRight,ftTop,ftBottom]";
// - colours as a number, $ and hexadecimal digits, or a name (clBlack, clTransparent);
// - nested values with a dotted prefix (Font.Height, Frame.Typ, PrintOptions.Printer); the font
//   is stored only for objects with ParentFont="False";
// - lists of lines (Memo.UTF8W, ScriptText.Text) as one text with the lines joined by CR LF,
//   written as &#13;&#10;;
// - references to other components (DataSet, Preview, Child, FlowTo) by component name,
//   resolved after the whole template has been read: report objects by FindObject, data
//   sources and the preview through the links (data sources also by name in the global list);
//   a reference that cannot be resolved is left unset;
// - the collections Datasets, Variables and Style of the report as child elements with <item>
//   entries (Datasets: DataSet, DataSetName; Variables: Name, Value; Style: Name, Color,
//   Font.*, Frame.*).
//
// Text that is not a template (malformed XML, no report element, anything after it) raises
// EngineError naming the line and leaves the report empty. A fault of one object or value (an
// unknown class, property or value, a duplicate name, an object in the wrong place) goes to the
// report's error list, also naming the line, and the rest of the template is read.
class TfrxTemplateReader {
public:
    explicit TfrxTemplateReader(TfrxTemplateLinks links = {});

    // Clears the report and reads `text` into it.
    void Read(const QString &text, TfrxReport &report) const;

private:
    TfrxTemplateLinks links_;
};

}  // namespace vornak
