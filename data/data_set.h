#pragma once

#include "data/component.h"
#include "data/data_types.h"
#include "data/field.h"
#include "platform/variant.h"

#include <QHash>
#include <QList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace vornak {

class ResultSet;
class TDataLink;
class TDataSource;
class TField;

// Identifies a record of an open dataset (the engine's row id); empty when not valid.
struct TBookmark {
    qint64 rowId = 0;
    bool valid = false;
    bool operator==(const TBookmark &) const = default;
};

// A dataset: the rows of a table or a query as a sequence of records with one current record,
// typed fields, a window of record buffers, and the notifications sent to its data sources.
class TDataSet : public TComponent {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet *)>;

    explicit TDataSet(TComponent *owner = nullptr);
    ~TDataSet() override;

    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool active);

    TDataSetState State() const { return state_; }
    bool Modified() const { return modified_; }
    int RecordCount() const;
    bool IsEmpty() const { return window_.empty(); }
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    // 1-based number of the current record in the result; -1 while inserting or without a record.
    int RecNo() const;
    // True while open on a result the engine can update.
    bool CanModify() const;

    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);

    void Edit();
    void Insert();
    void Post();
    void Cancel();
    void Delete();
    void UpdateRecord();
    void CheckBrowseMode();

    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark &bookmark);

    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Fields: the persistent ones declared with AddField, or those created at open.
    template <class Field>
    Field *AddField(const QString &fieldName, TFieldKind kind = fkData)
    {
        auto field = std::make_unique<Field>();
        Field *raw = field.get();
        raw->FieldName = fieldName;
        raw->FieldKind = kind;
        AdoptField(std::move(field), true);
        return raw;
    }
    const QList<TField *> &Fields() const { return fieldList_; }
    int FieldCount() const { return int(fieldList_.size()); }
    TField *FieldByName(const QString &name) const;
    TField *FindField(const QString &name) const;

    bool AutoCalcFields = true;

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeEdit, AfterEdit, BeforeInsert, AfterInsert, OnNewRecord;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
    TDataSetNotifyEvent OnCalcFields;

    // The record window, for data links: its capacity (the most demanding link's buffer count),
    // the records it holds and the index of the current record in it. SetActiveRecord lets a
    // link read the fields of another record of the window; it sends nothing.
    int BufferCount() const { return capacity_; }
    int WindowRecordCount() const { return int(window_.size()); }
    int ActiveRecord() const { return activeRecord_; }
    void SetActiveRecord(int index);
    // Recomputes the window's capacity from the links of every data source.
    void UpdateBufferCount();

protected:
    // Opens the engine cursor on the dataset's command. Raises DatabaseError.
    virtual std::unique_ptr<ResultSet> OpenCursor() = 0;
    void Loaded() override;

    void CheckActive() const;
    [[noreturn]] void Fail(const QString &text) const;

private:
    friend class TField;
    friend class TDataSource;

    struct RecordBuffer {
        QList<Variant> values; // one per field, calculated fields included
        qint64 bookmark = 0;
        qsizetype row = -1;    // the engine row; -1 for an inserted record not yet posted
    };

    void AdoptField(std::unique_ptr<TField> field, bool persistent);
    void RebuildFieldIndex();
    void OpenDataSet();
    void CloseDataSet();
    void BindFields();
    void DestroyCreatedFields();

    void SetState(TDataSetState state);
    void DataEvent(TDataEvent event, TField *field = nullptr, int distance = 0);
    void CheckCanModify() const;

    RecordBuffer ReadRow(qsizetype row);
    void CalculateFields(RecordBuffer &buffer);
    void RecalculateCurrent();
    QList<Variant> *CurrentValues();
    void NoteModified(TField *field);

    qsizetype RowAfterWindow() const;
    qsizetype RowBeforeWindow() const;
    bool AppendNext(bool dropWhenFull, int &shift);
    bool PrependPrior(bool dropWhenFull, int &shift);
    void FillWindow(qsizetype row, int windowRow);
    void Resync(qsizetype row, int windowRow);
    void ShiftLinkWindows(int indexDelta);

    void AddDataSource(TDataSource *source);
    void RemoveDataSource(TDataSource *source);

    std::unique_ptr<ResultSet> cursor_;
    std::vector<std::unique_ptr<TField>> fields_;
    QList<TField *> fieldList_;
    QHash<QString, TField *> fieldIndex_; // by lower-case name
    int persistentCount_ = 0;
    int calculatedCount_ = 0;
    QList<TDataSource *> dataSources_;

    std::deque<RecordBuffer> window_;
    int capacity_ = 1;
    int activeRecord_ = 0;
    bool bof_ = true;
    bool eof_ = true;
    RecordBuffer *calcBuffer_ = nullptr;
    qsizetype insertBefore_ = 0;

    TDataSetState state_ = dsInactive;
    bool modified_ = false;
    QList<TField *> modifiedFields_;
    int disableCount_ = 0;
    TDataSetState disabledState_ = dsInactive;
    bool activeWhenLoaded_ = false;
};

} // namespace vornak
