#pragma once

#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "data/ado_table.h"
#include "data/data_source.h"
#include "data/field.h"
#include "grid/db_grid_eh.h"
#include "tests/fixtures/temp_database.h"

#include <memory>
#include <QApplication>
#include <QStringList>
#include <QTest>

namespace vornak::testing {

// A log book file with a connection, a dataset over one of its tables and a data source on it.
struct GridBook {
    TempDatabase file;
    TADOConnection connection;
    TADOQuery query;
    TDataSource source;

    explicit GridBook(const QString &sql)
    {
        connection.ConnectionString = file.absoluteConnectionString();
        query.Name = QStringLiteral("QueryGrid");
        query.Connection = &connection;
        query.CursorType = ctStatic;
        query.SQL.Add(sql);
        source.SetDataSet(&query);
    }

    int execute(const QString &sql) { return connection.Engine().execute(sql); }

    // Mileage entries 1..count: datedoc 01.01.2023 + i days, tekprobeg 1000·i, raznica i.
    void addMileage(int count)
    {
        for (int i = 1; i <= count; ++i)
            execute(
                QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES (%1, 1, %2, %3)")
                    .arg(44926 + i)
                    .arg(1000 * i)
                    .arg(i));
    }

    void addVehicles(const QStringList &names)
    {
        int km = 100;
        for (const QString &name : names) {
            execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES ('%1', %2)").arg(name).arg(km));
            km += 100;
        }
    }

    int recNo() const { return query.RecNo(); }
    QString text(const QString &field) const { return query.FieldByName(field)->DisplayText(); }
};

inline QString mileageSql()
{
    return QStringLiteral("select * from DOC_MILEAGE order by id");
}

inline QString vehiclesSql()
{
    return QStringLiteral("select * from SPR_AUTO order by id");
}

// A list grid as the main window sets one up: titles, indicator, lines, tabs, fitted widths,
// two title lines, the given columns (field name and declared width, 0 for none), centred.
inline std::unique_ptr<TDBGridEh> makeListGrid(TDataSource &source, const QList<std::pair<QString, int>> &columns,
                                               QSize size = {530, 300})
{
    auto grid = std::make_unique<TDBGridEh>();
    grid->SetOptions(listGridOptions);
    grid->SetAutoFitColWidths(true);
    grid->SetTitleLines(2);
    for (const auto &[field, width] : columns) {
        TColumnEh *column = grid->Columns.Add(field, width, taCenter);
        column->Title.Alignment = taCenter;
    }
    grid->resize(size);
    grid->Loaded();
    grid->SetDataSource(&source);
    return grid;
}

// The vehicle selector: one column, no titles, no indicator, one row high.
inline std::unique_ptr<TDBGridEh> makeSelectorGrid(TDataSource &source)
{
    auto grid = std::make_unique<TDBGridEh>();
    grid->SetOptions(selectorGridOptions);
    grid->SetOptionsEh(selectorGridOptionsEh);
    grid->SetAutoFitColWidths(true);
    grid->SetTitleLines(2);
    grid->Columns.Add(QStringLiteral("nameauto"), 200);
    grid->resize(225, 25);
    grid->Loaded();
    grid->SetDataSource(&source);
    return grid;
}

// Shows the grid in an active window with the keyboard focus.
inline void showFocused(QWidget &widget)
{
    widget.show();
    widget.window()->show();
    QApplication::setActiveWindow(widget.window());
    widget.setFocus();
    (void)QTest::qWaitForWindowActive(widget.window());
}

inline QPoint cellCenter(const TDBGridEh &grid, int column, int row)
{
    const int left = grid.columnLeft(column);
    const int width = grid.columnLeft(column + 1) - left;
    return {left + width / 2, grid.dataTop() + row * grid.rowPitch() + grid.RowHeight() / 2};
}

}  // namespace vornak::testing
