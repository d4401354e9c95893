#pragma once

#include "platform/variant.h"
#include "report/model/report_component.h"

#include <functional>
#include <QStringList>

class QIODevice;

namespace vornak {

class TfrxReport;

enum TfrxRangeBegin : int { rbFirst, rbCurrent };
enum TfrxRangeEnd : int { reLast, reCurrent, reCount };
enum TfrxFieldType : int { fftNumeric, fftString, fftBoolean };

// A report data source: gives a set of records a user name, walks them for a data band and
// hands out field values and texts. Every data source is in one process-wide list from its
// creation to its destruction.
class TfrxDataSet : public TfrxDialogComponent {
public:
    explicit TfrxDataSet(TfrxComponent *owner = nullptr);
    ~TfrxDataSet() override;
    QString ClassName() const override { return QStringLiteral("TfrxDataSet"); }

    // A data source whose UserName is empty or follows its Name keeps following it.
    void SetName(const QString &name) override;
    const QString &UserName() const { return userName_; }
    // An empty or blank user name is refused with EngineError.
    virtual void SetUserName(const QString &value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    TfrxRangeBegin RangeBegin() const { return rangeBegin_; }
    void SetRangeBegin(TfrxRangeBegin value) { rangeBegin_ = value; }
    TfrxRangeEnd RangeEnd() const { return rangeEnd_; }
    void SetRangeEnd(TfrxRangeEnd value) { rangeEnd_ = value; }
    int RangeEndCount() const { return rangeEndCount_; }
    void SetRangeEndCount(int value) { rangeEndCount_ = value; }

    // Host callbacks.
    std::function<void(TfrxDataSet &, bool &eof)> OnCheckEOF;
    std::function<void(TfrxDataSet &)> OnFirst;
    std::function<void(TfrxDataSet &)> OnNext;
    std::function<void(TfrxDataSet &)> OnPrior;

    // Operations.
    virtual QString DisplayText(const QString &field);
    virtual int DisplayWidth(const QString &field);
    virtual TfrxFieldType FieldType(const QString &field);
    virtual Variant Value(const QString &field);
    virtual void Initialize() {}
    virtual void Finalize() {}
    virtual void Open() {}
    virtual void Close() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    virtual int FieldsCount();
    virtual bool IsBlobField(const QString &field) { return false; }
    virtual int RecordCount() { return 0; }
    virtual void AssignBlobTo(const QString &field, QStringList &target) {}
    virtual void AssignBlobTo(const QString &field, QIODevice &target) {}
    virtual void GetFieldList(QStringList &list) { list.clear(); }
    bool HasField(const QString &field);

    int RecNo() const { return recNo_; }
    // The report that runs this data source (set when a run starts).
    TfrxReport *ReportRef = nullptr;

    static const TfrxPropertyList &ClassProperties();
    const TfrxPropertyList &Properties() const override { return ClassProperties(); }

    // The process-wide list, in creation order (a copy taken under the list's lock).
    static QList<TfrxDataSet *> GlobalList();

protected:
    bool eof_ = false;
    bool initialized_ = false;
    int recNo_ = 0;

private:
    QString userName_;
    bool enabled_ = true;
    TfrxRangeBegin rangeBegin_ = rbFirst;
    TfrxRangeEnd rangeEnd_ = reLast;
    int rangeEndCount_ = 0;
};

// A reference to a report data source and the user name it goes by. Setting the data source
// sets the name to its user name; setting the name looks the data source up (frxFindDataSet).
class TfrxDataSetBinding {
public:
    TfrxDataSet *DataSet() const { return dataSet_; }
    void SetDataSet(TfrxDataSet *value);
    // The data source's current user name when one is set, otherwise the stored text.
    QString Name() const;
    void SetName(const QString &name, const TfrxReport *report);

private:
    TfrxDataSet *dataSet_ = nullptr;
    QString name_;
};

// Finds the data source with the user name `name` for an object (a view, band, page, report or
// item of the report's list) whose current data source is `current` and whose report is
// `report`: none for an empty name; `current` outside a report; otherwise the first match in the
// global list (skipping data sources of another report), or in the report's enabled data
// sources when the report does not use the global list.
TfrxDataSet *frxFindDataSet(TfrxDataSet *current, const QString &name, const TfrxReport *report);

}  // namespace vornak
