#pragma once

#include "data/ado_connection.h"
#include "data/ado_table.h"
#include "data/data_link.h"
#include "data/data_source.h"
#include "data/field_kinds.h"
#include "platform/database.h"
#include "tests/fixtures/temp_database.h"

#include <QStringList>

namespace vornak::testing {

inline QString fieldTag(const TField *field)
{
    return field ? field->FieldName : QStringLiteral("nil");
}

// A data link that writes every notification it receives into a shared log.
class RecordingLink : public TDataLink {
public:
    RecordingLink(QStringList &log, const QString &name, bool visual = true, int buffers = 1)
        : TDataLink(visual),
          log_(log),
          name_(name)
    {
        SetBufferCount(buffers);
    }

    // Run by UpdateData (a bound control writing its text).
    std::function<void()> onUpdateData;

protected:
    void ActiveChanged() override { note(QStringLiteral("ActiveChanged")); }
    void EditingChanged() override { note(QStringLiteral("EditingChanged")); }
    void DataSetChanged() override { note(QStringLiteral("DataSetChanged")); }
    void DataSetScrolled(int distance) override { note(QStringLiteral("DataSetScrolled(%1)").arg(distance)); }
    void LayoutChanged() override { note(QStringLiteral("LayoutChanged")); }
    void RecordChanged(TField *field) override { note(QStringLiteral("RecordChanged(%1)").arg(fieldTag(field))); }
    void UpdateData() override
    {
        note(QStringLiteral("UpdateData"));
        if (onUpdateData)
            onUpdateData();
    }
    void CheckBrowseMode() override { note(QStringLiteral("CheckBrowseMode")); }
    void FocusControl(TField *field) override { note(QStringLiteral("FocusControl")); }

private:
    void note(const QString &what) { log_.append(name_ + u'.' + what); }

    QStringList &log_;
    QString name_;
};

// Writes the data source's OnStateChange, OnDataChange and OnUpdateData into the log.
inline void recordHandlers(TDataSource &source, QStringList &log)
{
    source.OnStateChange = [&log](TDataSource *) { log.append(QStringLiteral("OnStateChange")); };
    source.OnDataChange = [&log](TDataSource *, TField *field) {
        log.append(QStringLiteral("OnDataChange(%1)").arg(fieldTag(field)));
    };
    source.OnUpdateData = [&log](TDataSource *) { log.append(QStringLiteral("OnUpdateData")); };
}

// An empty log book in a temporary folder with a connection to it.
struct LogBookFile {
    TempDatabase file;
    TADOConnection connection;

    LogBookFile() { connection.ConnectionString = file.absoluteConnectionString(); }

    int execute(const QString &sql) { return connection.Engine().execute(sql); }
    // Adds vehicles named as given, with beginkm 100, 200, ...
    void addVehicles(const QStringList &names)
    {
        int km = 100;
        for (const QString &name : names) {
            execute(
                QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('%1', %2, '01.02.2020')")
                    .arg(name)
                    .arg(km));
            km += 100;
        }
    }
};

// The vehicles table with persistent fields id, nameauto, beginkm, begindate.
struct VehicleTable {
    TADOTable table;
    TAutoIncField *id;
    TWideStringField *nameauto;
    TIntegerField *beginkm;
    TDateTimeField *begindate;

    explicit VehicleTable(TADOConnection &connection)
    {
        table.Name = QStringLiteral("TableSprAuto");
        table.Connection = &connection;
        table.CursorType = ctStatic;
        table.TableName = QStringLiteral("SPR_AUTO");
        id = table.AddField<TAutoIncField>(QStringLiteral("id"));
        id->ReadOnly = true;
        nameauto = table.AddField<TWideStringField>(QStringLiteral("nameauto"));
        nameauto->Size = 255;
        beginkm = table.AddField<TIntegerField>(QStringLiteral("beginkm"));
        beginkm->DisplayLabel = QStringLiteral("Начальный пробег");
        begindate = table.AddField<TDateTimeField>(QStringLiteral("begindate"));
    }

    QStringList names()
    {
        QStringList result;
        table.First();
        while (!table.Eof()) {
            result.append(nameauto->AsString());
            table.Next();
        }
        return result;
    }
};

}  // namespace vornak::testing
