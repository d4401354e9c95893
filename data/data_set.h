#pragma once

#include "data/component.h"
#include "data/data_types.h"
#include "data/field.h"
#include "platform/variant.h"

#include <deque>
#include <functional>
#include <memory>
#include <QHash>
#include <QList>
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
//
// The record window. The dataset keeps a few consecutive records of its result in buffers: as
// many as its most demanding data link shows (the window's capacity, BufferCount), fewer only when
// the result is shorter. One buffer is the active record: the current record, whose values the
// fields read and write. A move inside the window only changes the active record. A move past
// either end fetches the next or prior record and, when the window is full, drops the buffer at
// the other end: the window advances through the result by one record (advance +1 forward, -1
// backward), and every record kept in it sits that many buffers lower. First, Last, a bookmark,
// Post, Cancel and Delete refill the window instead. Each data link shows its own BufferCount
// rows of the window, starting at its FirstRecord; after a move the dataset sends the window's
// advance with deDataSetScroll, and each link slides its rows just enough to keep the active
// record among them and is told how far they slid (DataSetScrolled). A move that changed how
// many records the window holds is sent as deDataSetChange. A change of capacity fetches or drops
// records around the active one and slides the links the same way, telling them nothing.
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
        QList<Variant> values;  // one per field, calculated fields included
        qint64 bookmark = 0;
        qsizetype row = -1;  // the engine row; -1 for an inserted record not yet posted
    };

    void AdoptField(std::unique_ptr<TField> field, bool persistent);
    void RebuildFieldIndex();
    void OpenDataSet();
    void CloseDataSet();
    void BindFields();
    void DestroyCreatedFields();

    void SetState(TDataSetState state);
    // Sends an event to the data sources; deDataSetScroll carries the window's advance.
    void DataEvent(TDataEvent event, TField *field = nullptr, int advance = 0);
    void CheckCanModify() const;

    RecordBuffer ReadRow(qsizetype row);
    void CalculateFields(RecordBuffer &buffer);
    void RecalculateCurrent();
    QList<Variant> *CurrentValues();
    void NoteModified(TField *field);

    // Runs a Before/After/On handler when one is set.
    void RunHandler(const TDataSetNotifyEvent &handler);

    // The window (see the class comment). `advance` counts how many records the window moved
    // forward through the result: +1 when a buffer was dropped at the front, -1 at the back.
    qsizetype RowAfterWindow() const;
    qsizetype RowBeforeWindow() const;
    bool AppendNext(bool dropWhenFull, int &advance);
    bool PrependPrior(bool dropWhenFull, int &advance);
    void FillWindow(qsizetype row, int windowRow);
    void Resync(qsizetype row, int windowRow);
    void AdvanceLinkWindows(int advance);

    void AddDataSource(TDataSource *source);
    void RemoveDataSource(TDataSource *source);

    std::unique_ptr<ResultSet> cursor_;            // the engine's result while open
    std::vector<std::unique_ptr<TField>> fields_;  // owns every field, persistent ones first
    QList<TField *> fieldList_;                    // the same fields in order, for Fields()
    QHash<QString, TField *> fieldIndex_;          // by lower-case name
    int persistentCount_ = 0;                      // fields declared with AddField, kept at close
    int calculatedCount_ = 0;                      // fields of kind fkCalculated
    QList<TDataSource *> dataSources_;             // every source bound to the dataset

    std::deque<RecordBuffer> window_;     // the buffered records, in result order
    int capacity_ = 1;                    // the most records the window holds
    int activeRecord_ = 0;                // index in window_ of the record the fields read
    bool bof_ = true;                     // a move backward found no record
    bool eof_ = true;                     // a move forward found no record
    RecordBuffer *calcBuffer_ = nullptr;  // the buffer OnCalcFields fills, while it runs
    qsizetype insertBefore_ = 0;          // while inserting: the row the new record precedes

    TDataSetState state_ = dsInactive;          // browse, edit, insert, ...; inactive while closed
    bool modified_ = false;                     // a data field changed since Edit or Insert
    QList<TField *> modifiedFields_;            // the fields Post writes, in order of change
    int disableCount_ = 0;                      // DisableControls calls not yet matched
    TDataSetState disabledState_ = dsInactive;  // the state when controls were disabled
    bool activeWhenLoaded_ = false;             // Active set while loading, applied by Loaded
};

}  // namespace vornak
