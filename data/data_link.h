#pragma once

#include "data/data_types.h"

namespace vornak {

class TDataSet;
class TDataSource;
class TField;

// A client of a data source (a grid, an edit box, a report data source). It keeps its own
// window over the dataset's record buffers (BufferCount rows starting at a buffer of the
// dataset's window) and receives the dataset's notifications through the virtual calls below.
class TDataLink {
public:
    // Visual controls (grids, edit boxes) are told of an event after the other links.
    explicit TDataLink(bool visualControl = false)
        : visualControl_(visualControl)
    {
    }
    virtual ~TDataLink();
    TDataLink(const TDataLink &) = delete;
    TDataLink &operator=(const TDataLink &) = delete;

    TDataSource *DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource *dataSource);
    TDataSet *DataSet() const;
    bool IsVisualControl() const { return visualControl_; }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // True while the data source is not inactive.
    bool Active() const { return active_; }
    // True while the data source is in edit or insert state and the link is not read-only.
    bool Editing() const { return editing_; }
    // True while the link writes its control's text into the field (UpdateData).
    bool Writing() const { return writing_; }

    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    // The link's rows: how many of them hold a record, which one is current; setting the active
    // record makes the fields read that row of the link's window (nothing is sent).
    int RecordCount() const;
    int ActiveRecord() const;
    void SetActiveRecord(int row);
    // The dataset buffer the link's first row shows.
    int FirstRecord() const { return firstRecord_; }

    // Puts the dataset into edit state when the link is not read-only, the data source allows
    // it and the dataset is browsing; returns Editing.
    bool Edit();
    // Asks the control to write its pending text into its field.
    void UpdateRecord();

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    // By default a whole-dataset change, a scroll and a layout change are each a change of the
    // current record to the link. A scroll's distance is how many rows the link's rows slid
    // through the dataset's window (positive forward).
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField *field) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    virtual void FocusControl(TField *field) {}

private:
    friend class TDataSource;
    friend class TDataSet;

    void DataEvent(TDataEvent event, TField *field, int advance);
    void UpdateState();
    // Slides the link's rows after the dataset's window advanced by `advance` records (see
    // TDataSet) so that they hold the active record; returns how many rows they slid.
    int MoveWindow(int advance);
    void UpdateRange();
    void WindowAdvanced(int advance);
    void DataSourceDestroyed();

    TDataSource *dataSource_ = nullptr;
    bool visualControl_ = false;
    bool readOnly_ = false;
    bool active_ = false;
    bool editing_ = false;
    bool writing_ = false;
    int bufferCount_ = 1;  // how many rows of the dataset's window the link shows
    int firstRecord_ = 0;  // the dataset buffer shown in the link's first row
};

}  // namespace vornak
