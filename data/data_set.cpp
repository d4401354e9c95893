// The dataset: binding fields to the result's columns at open, the record window, moves and
// editing. The window is described at TDataSet in data_set.h. Here FillWindow refills it around
// one row; AppendNext and PrependPrior fetch one record at either end; MoveBy and
// UpdateBufferCount count the window's advance the same way (+1 for each buffer dropped at the
// front, -1 at the back) and hand it to the links, which slide their rows by it (data_link.cpp).
// Handlers run through RunHandler in the order each operation documents; messages come from
// data_set_text.cpp.
#include "data/data_set.h"

#include "data/data_link.h"
#include "data/data_set_text.h"
#include "data/data_source.h"
#include "data/field_kinds.h"
#include "platform/database.h"
#include "platform/errors.h"

#include <algorithm>
#include <QScopedValueRollback>
#include <QScopeGuard>

namespace vornak {

namespace {

std::unique_ptr<TField> createField(const ColumnInfo &column)
{
    std::unique_ptr<TField> field;
    switch (column.kind) {
    case ColumnKind::AutoIncrement:
        field = std::make_unique<TAutoIncField>();
        break;
    case ColumnKind::Integer:
        field = std::make_unique<TIntegerField>();
        break;
    case ColumnKind::Float:
        field = std::make_unique<TFloatField>();
        break;
    case ColumnKind::DateTime:
        field = std::make_unique<TDateTimeField>();
        break;
    case ColumnKind::Text: {
        auto text = std::make_unique<TWideStringField>();
        text->Size = column.size;
        field = std::move(text);
        break;
    }
    }
    field->FieldName = column.name;
    return field;
}

QString columnTypeName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::AutoIncrement:
        return QStringLiteral("AutoInc");
    case ColumnKind::Integer:
        return QStringLiteral("Integer");
    case ColumnKind::Float:
        return QStringLiteral("Float");
    case ColumnKind::DateTime:
        return QStringLiteral("DateTime");
    case ColumnKind::Text:
        return QStringLiteral("WideString");
    }
    return {};
}

}  // namespace

TDataSet::TDataSet(TComponent *owner)
    : TComponent(owner)
{
}

TDataSet::~TDataSet()
{
    for (TDataSource *source : std::as_const(dataSources_))
        source->DataSetDestroyed();
}

// ---- fields ----

void TDataSet::AdoptField(std::unique_ptr<TField> field, bool persistent)
{
    field->dataSet_ = this;
    field->index_ = int(fields_.size());
    if (field->Name.isEmpty())
        field->Name = Name + field->FieldName;
    if (persistent)
        ++persistentCount_;
    if (field->FieldKind == fkCalculated)
        ++calculatedCount_;
    fieldList_.append(field.get());
    fields_.push_back(std::move(field));
    RebuildFieldIndex();
}

void TDataSet::RebuildFieldIndex()
{
    fieldIndex_.clear();
    // The first field of a name wins, as a linear search would find it.
    for (auto it = fieldList_.crbegin(); it != fieldList_.crend(); ++it)
        fieldIndex_.insert((*it)->FieldName.toLower(), *it);
}

TField *TDataSet::FindField(const QString &name) const
{
    return fieldIndex_.value(name.toLower(), nullptr);
}

TField *TDataSet::FieldByName(const QString &name) const
{
    TField *field = FindField(name);
    if (!field)
        Fail(dataSetText("fieldNotFound").arg(name));
    return field;
}

void TDataSet::BindFields()
{
    const QList<ColumnInfo> &columns = cursor_->columns();
    if (persistentCount_ == 0) {
        for (const ColumnInfo &column : columns)
            AdoptField(createField(column), false);
        for (int i = 0; i < int(columns.size()); ++i)
            fieldList_[i]->column_ = i;
        return;
    }
    for (TField *field : std::as_const(fieldList_)) {
        field->column_ = -1;
        if (field->FieldKind == fkCalculated) {
            if (!field->CanBeCalculated())
                Fail(dataSetText("fieldCannotBeCalculated").arg(field->DisplayName()));
            continue;
        }
        const int column = cursor_->columnIndex(field->FieldName);
        if (column < 0)
            Fail(dataSetText("fieldNotFound").arg(field->DisplayName()));
        const ColumnInfo &info = columns[column];
        if (!field->AcceptsColumn(info.kind))
            Fail(dataSetText("fieldTypeMismatch")
                     .arg(field->DisplayName(), field->DataTypeName(), columnTypeName(info.kind)));
        if (info.kind == ColumnKind::Text && info.size > 0 && info.size < field->Size && !field->ReadOnly)
            field->Size = info.size;
        field->column_ = column;
    }
}

void TDataSet::DestroyCreatedFields()
{
    for (TField *field : std::as_const(fieldList_))
        field->column_ = -1;
    if (int(fields_.size()) == persistentCount_)
        return;
    fields_.resize(persistentCount_);
    fieldList_.resize(persistentCount_);
    calculatedCount_ = int(std::count_if(fieldList_.cbegin(), fieldList_.cend(),
                                         [](const TField *f) { return f->FieldKind == fkCalculated; }));
    RebuildFieldIndex();
}

// ---- opening and closing ----

void TDataSet::SetActive(bool active)
{
    if (IsLoading()) {
        activeWhenLoaded_ = active;
        return;
    }
    if (active == Active())
        return;
    if (active)
        OpenDataSet();
    else
        CloseDataSet();
}

void TDataSet::Loaded()
{
    TComponent::Loaded();
    if (activeWhenLoaded_)
        SetActive(true);
}

void TDataSet::OpenDataSet()
{
    RunHandler(BeforeOpen);
    // A failed open leaves no cursor, no rows and no fields created for it.
    auto undo = qScopeGuard([this] {
        window_.clear();
        cursor_.reset();
        DestroyCreatedFields();
    });
    cursor_ = OpenCursor();
    BindFields();
    capacity_ = 0;
    UpdateBufferCount();
    FillWindow(0, 0);
    bof_ = true;
    eof_ = window_.empty();
    undo.dismiss();
    SetState(dsBrowse);
    RunHandler(AfterOpen);
}

void TDataSet::CloseDataSet()
{
    RunHandler(BeforeClose);
    SetState(dsInactive);
    window_.clear();
    activeRecord_ = 0;
    bof_ = eof_ = true;
    cursor_.reset();
    DestroyCreatedFields();
    RunHandler(AfterClose);
}

void TDataSet::CheckActive() const
{
    if (!Active())
        Fail(dataSetText("dataSetClosed"));
}

void TDataSet::Fail(const QString &text) const
{
    throw DatabaseError::forComponent(Name, text);
}

int TDataSet::RecordCount() const
{
    return cursor_ ? int(cursor_->rowCount()) : 0;
}

int TDataSet::RecNo() const
{
    if (window_.empty() || state_ == dsInsert)
        return -1;
    const qsizetype row = window_[activeRecord_].row;
    return row < 0 ? -1 : int(row + 1);
}

bool TDataSet::CanModify() const
{
    return Active() && cursor_ && cursor_->isUpdatable();
}

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        Fail(dataSetText("dataSetReadOnly"));
}

// ---- state and events ----

void TDataSet::SetState(TDataSetState state)
{
    if (state == state_)
        return;
    state_ = state;
    modified_ = false;
    modifiedFields_.clear();
    DataEvent(deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField *field, int advance)
{
    if (event == deFieldChange) {
        if (field->FieldKind == fkData) {
            modified_ = true;
            if (AutoCalcFields && (state_ == dsEdit || state_ == dsInsert))
                RecalculateCurrent();
        }
        if (field->OnChange)
            field->OnChange(field);
    }
    if (disableCount_ > 0)
        return;
    const QList<TDataSource *> sources = dataSources_;
    for (TDataSource *source : sources)
        source->DataEvent(event, field, advance);
}

void TDataSet::DisableControls()
{
    if (disableCount_ == 0)
        disabledState_ = state_;
    ++disableCount_;
}

void TDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ > 0)
        return;
    if (state_ != disabledState_)
        DataEvent(deUpdateState);
    if (state_ != dsInactive && disabledState_ != dsInactive)
        DataEvent(deDataSetChange);
}

void TDataSet::AddDataSource(TDataSource *source)
{
    dataSources_.append(source);
    UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource *source)
{
    dataSources_.removeOne(source);
    UpdateBufferCount();
}

// ---- record buffers ----

TDataSet::RecordBuffer TDataSet::ReadRow(qsizetype row)
{
    RecordBuffer buffer;
    buffer.row = row;
    buffer.bookmark = cursor_->rowId(row);
    buffer.values.resize(fieldList_.size());
    for (TField *field : std::as_const(fieldList_)) {
        if (field->column_ >= 0)
            buffer.values[field->index_] = cursor_->value(row, field->column_);
    }
    CalculateFields(buffer);
    return buffer;
}

void TDataSet::CalculateFields(RecordBuffer &buffer)
{
    if (calculatedCount_ == 0)
        return;
    for (TField *field : std::as_const(fieldList_)) {
        if (field->FieldKind == fkCalculated)
            buffer.values[field->index_] = Variant();
    }
    if (!OnCalcFields)
        return;
    const QScopedValueRollback calculating(state_, dsCalcFields);
    const QScopedValueRollback calculated(calcBuffer_, &buffer);
    OnCalcFields(this);
}

void TDataSet::RecalculateCurrent()
{
    if (calculatedCount_ == 0 || window_.empty())
        return;
    RecordBuffer &buffer = window_[activeRecord_];
    for (TField *field : std::as_const(fieldList_)) {
        if (field->FieldKind == fkCalculated)
            buffer.values[field->index_] = Variant();
    }
    RunHandler(OnCalcFields);
}

QList<Variant> *TDataSet::CurrentValues()
{
    if (calcBuffer_)
        return &calcBuffer_->values;
    if (window_.empty() || activeRecord_ < 0 || activeRecord_ >= int(window_.size()))
        return nullptr;
    return &window_[activeRecord_].values;
}

void TDataSet::NoteModified(TField *field)
{
    if (!modifiedFields_.contains(field))
        modifiedFields_.append(field);
}

void TDataSet::RunHandler(const TDataSetNotifyEvent &handler)
{
    if (handler)
        handler(this);
}

void TDataSet::SetActiveRecord(int index)
{
    if (index >= 0 && index < int(window_.size()))
        activeRecord_ = index;
}

qsizetype TDataSet::RowAfterWindow() const
{
    for (auto it = window_.crbegin(); it != window_.crend(); ++it) {
        if (it->row >= 0)
            return it->row + 1;
    }
    return state_ == dsInsert ? insertBefore_ : 0;
}

qsizetype TDataSet::RowBeforeWindow() const
{
    for (const RecordBuffer &buffer : window_) {
        if (buffer.row >= 0)
            return buffer.row - 1;
    }
    return state_ == dsInsert ? insertBefore_ - 1 : -1;
}

// Fetches the record after the window; a full window drops its first buffer (advance +1).
bool TDataSet::AppendNext(bool dropWhenFull, int &advance)
{
    const qsizetype row = RowAfterWindow();
    if (row >= cursor_->rowCount())
        return false;
    RecordBuffer buffer = ReadRow(row);
    if (dropWhenFull && int(window_.size()) >= capacity_) {
        window_.pop_front();
        ++advance;
    }
    window_.push_back(std::move(buffer));
    return true;
}

// Fetches the record before the window; a full window drops its last buffer (advance -1).
bool TDataSet::PrependPrior(bool dropWhenFull, int &advance)
{
    const qsizetype row = RowBeforeWindow();
    if (row < 0)
        return false;
    RecordBuffer buffer = ReadRow(row);
    if (dropWhenFull && int(window_.size()) >= capacity_) {
        window_.pop_back();
        --advance;
    }
    window_.push_front(std::move(buffer));
    return true;
}

// Refills the window so that `row` is current at `windowRow`, as far as there are records before
// it, and the window holds as many records as it can.
void TDataSet::FillWindow(qsizetype row, int windowRow)
{
    window_.clear();
    activeRecord_ = 0;
    const qsizetype count = cursor_->rowCount();
    if (count == 0)
        return;
    row = std::clamp<qsizetype>(row, 0, count - 1);
    const qsizetype start = std::max<qsizetype>(0, row - windowRow);
    for (qsizetype r = start; r < count && int(window_.size()) < capacity_; ++r)
        window_.push_back(ReadRow(r));
    int advance = 0;
    while (int(window_.size()) < capacity_ && PrependPrior(false, advance)) {
    }
    activeRecord_ = int(row - window_.front().row);
}

void TDataSet::Resync(qsizetype row, int windowRow)
{
    FillWindow(row, windowRow);
    bof_ = eof_ = window_.empty();
    DataEvent(deDataSetChange);
}

void TDataSet::UpdateBufferCount()
{
    int wanted = 1;
    for (const TDataSource *source : std::as_const(dataSources_)) {
        for (const TDataLink *link : source->Links())
            wanted = std::max(wanted, link->BufferCount());
    }
    if (wanted == capacity_)
        return;
    capacity_ = wanted;
    if (!cursor_ || !Active())
        return;
    // A smaller window drops records after the active one first; a larger one fetches records
    // after the window first, then before it.
    int advance = 0;
    while (int(window_.size()) > capacity_) {
        if (activeRecord_ < int(window_.size()) - 1) {
            window_.pop_back();
        } else {
            window_.pop_front();
            --activeRecord_;
            ++advance;
        }
    }
    while (int(window_.size()) < capacity_ && AppendNext(false, advance)) {
    }
    while (int(window_.size()) < capacity_ && PrependPrior(false, advance)) {
        ++activeRecord_;
        --advance;
    }
    AdvanceLinkWindows(advance);
}

void TDataSet::AdvanceLinkWindows(int advance)
{
    for (TDataSource *source : std::as_const(dataSources_)) {
        for (TDataLink *link : source->Links())
            link->WindowAdvanced(advance);
    }
}

// ---- moving ----

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    RunHandler(BeforeScroll);
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_))
        return 0;
    bof_ = eof_ = false;
    const size_t recordsBefore = window_.size();
    int advance = 0;
    int moved = 0;
    if (distance > 0) {
        for (; moved < distance; ++moved) {
            if (activeRecord_ < int(window_.size()) - 1) {
                ++activeRecord_;
            } else if (AppendNext(true, advance)) {
                activeRecord_ = int(window_.size()) - 1;
            } else {
                eof_ = true;
                break;
            }
        }
    } else {
        for (; moved < -distance; ++moved) {
            if (activeRecord_ > 0) {
                --activeRecord_;
            } else if (PrependPrior(true, advance)) {
                activeRecord_ = 0;
            } else {
                bof_ = true;
                break;
            }
        }
    }
    if (moved != 0) {
        if (window_.size() == recordsBefore)
            DataEvent(deDataSetScroll, nullptr, advance);
        else
            DataEvent(deDataSetChange);
    }
    RunHandler(AfterScroll);
    return distance > 0 ? moved : -moved;
}

void TDataSet::First()
{
    CheckBrowseMode();
    RunHandler(BeforeScroll);
    FillWindow(0, 0);
    bof_ = true;
    eof_ = window_.empty();
    DataEvent(deDataSetChange);
    RunHandler(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    RunHandler(BeforeScroll);
    FillWindow(cursor_->rowCount() - 1, capacity_ - 1);
    eof_ = true;
    bof_ = window_.empty();
    DataEvent(deDataSetChange);
    RunHandler(AfterScroll);
}

TBookmark TDataSet::GetBookmark() const
{
    if (window_.empty() || window_[activeRecord_].row < 0)
        return {};
    return {window_[activeRecord_].bookmark, true};
}

void TDataSet::GotoBookmark(const TBookmark &bookmark)
{
    if (!bookmark.valid)
        return;
    CheckBrowseMode();
    RunHandler(BeforeScroll);
    const qsizetype row = cursor_->rowOfId(bookmark.rowId);
    if (row < 0)
        Fail(dataSetText("recordNotFound"));
    FillWindow(row, (capacity_ - 1) / 2);
    bof_ = eof_ = false;
    DataEvent(deDataSetChange);
    RunHandler(AfterScroll);
}

// ---- editing ----

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void TDataSet::Edit()
{
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    CheckActive();
    if (window_.empty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    RunHandler(BeforeEdit);
    CalculateFields(window_[activeRecord_]);
    SetState(dsEdit);
    DataEvent(deRecordChange);
    RunHandler(AfterEdit);
}

void TDataSet::Insert()
{
    CheckBrowseMode();
    CheckCanModify();
    RunHandler(BeforeInsert);
    RunHandler(BeforeScroll);
    RecordBuffer buffer;
    buffer.values.resize(fieldList_.size());
    if (window_.empty()) {
        insertBefore_ = cursor_->rowCount();
        window_.push_back(std::move(buffer));
        activeRecord_ = 0;
    } else {
        insertBefore_ = window_[activeRecord_].row;
        window_.insert(window_.begin() + activeRecord_, std::move(buffer));
        if (int(window_.size()) > capacity_)
            window_.pop_back();
    }
    SetState(dsInsert);
    RunHandler(OnNewRecord);
    modified_ = false;
    DataEvent(deDataSetChange);
    RunHandler(AfterInsert);
    RunHandler(AfterScroll);
}

void TDataSet::UpdateRecord()
{
    if (!isEditState(state_))
        Fail(dataSetText("notEditing"));
    DataEvent(deUpdateRecord);
}

void TDataSet::Post()
{
    UpdateRecord();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    RunHandler(BeforePost);
    const RecordBuffer &buffer = window_[activeRecord_];
    QList<std::pair<int, Variant>> values;
    for (const TField *field : std::as_const(modifiedFields_)) {
        if (field->FieldKind == fkData && field->column_ >= 0)
            values.append({field->column_, buffer.values[field->index_]});
    }
    qsizetype row = buffer.row;
    if (state_ == dsInsert)
        row = cursor_->insertRow(insertBefore_, values);
    else
        cursor_->updateRow(row, values);
    SetState(dsBrowse);
    Resync(row, activeRecord_);
    RunHandler(AfterPost);
}

void TDataSet::Cancel()
{
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    const bool inserting = state_ == dsInsert;
    DataEvent(deCheckBrowseMode);
    RunHandler(BeforeCancel);
    if (inserting)
        RunHandler(BeforeScroll);
    const qsizetype row = inserting ? insertBefore_ : window_[activeRecord_].row;
    SetState(dsBrowse);
    Resync(row, activeRecord_);
    RunHandler(AfterCancel);
    if (inserting)
        RunHandler(AfterScroll);
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == dsInsert || state_ == dsSetKey) {
        Cancel();
        return;
    }
    if (window_.empty())
        Fail(dataSetText("dataSetEmpty"));
    CheckCanModify();
    DataEvent(deCheckBrowseMode);
    CheckBrowseMode();
    RunHandler(BeforeDelete);
    RunHandler(BeforeScroll);
    const qsizetype row = window_[activeRecord_].row;
    cursor_->deleteRow(row);
    SetState(dsBrowse);
    Resync(row, activeRecord_);
    RunHandler(AfterDelete);
    RunHandler(AfterScroll);
}

}  // namespace vornak
