// Painting and paging a grid of 40 visible rows and 5 columns over 100,000 mileage readings:
// our grid over the mileage query against a QTableView over a table model holding the same
// values, both rendering their viewport into an image after every Page Down, in one run. Prints
// the ratio grid / table view at the end.
#include "bench/bench_support.h"
#include "data/ado_connection.h"
#include "data/ado_query.h"
#include "data/data_source.h"
#include "grid/db_grid_eh.h"
#include "platform/date_time.h"
#include "platform/fonts.h"
#include "tools/log_book_schema.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>

using namespace vornak;

namespace {

constexpr int records = 100'000;
constexpr int visibleRows = 40;
constexpr int pagedRecords = 10'000;
constexpr int gridColumns = 5;
constexpr int rowPitch = 21;    // 20-pixel rows and their line
constexpr int titlePitch = 36;  // the two-line title row and its line
constexpr int gridWidth = 640;
constexpr int gridHeight = titlePitch + visibleRows * rowPitch + 4;

bench::Reading reading(int i)
{
    return bench::benchReading(i, records);
}

// A log book with 100,000 readings, in a temporary folder.
struct LogBook {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString path = dir.filePath(log_book::fileName);

    LogBook() { bench::createLogBook(path, records); }
};

LogBook &logBook()
{
    static LogBook instance;
    return instance;
}

void pageDown(QWidget &widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

// Renders the viewport after each Page Down until `pagedRecords` records have gone by.
template <class Reset>
void pageAndPaint(benchmark::State &state, QWidget &widget, QWidget &viewport, Reset reset)
{
    QImage image(viewport.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        reset();
        viewport.render(&image);
        for (int paged = 0; paged < pagedRecords; paged += visibleRows) {
            pageDown(widget);
            viewport.render(&image);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PageAndPaint_Grid(benchmark::State &state)
{
    TADOConnection connection;
    connection.ConnectionString = log_book::connectionString(logBook().path);
    TADOQuery query;
    query.Name = QStringLiteral("QueryDocMileage");
    query.Connection = &connection;
    query.CursorType = ctStatic;
    query.SQL.Add(QStringLiteral("select id, datedoc, idauto, tekprobeg, raznica from DOC_MILEAGE order by id"));
    TDataSource source;
    source.SetDataSet(&query);

    TDBGridEh grid;
    grid.SetOptions(listGridOptions);
    grid.SetAutoFitColWidths(true);
    grid.SetTitleLines(2);
    for (const char *field : {"id", "datedoc", "idauto", "tekprobeg", "raznica"})
        grid.Columns.Add(QString::fromLatin1(field), 0, taCenter)->Title.Alignment = taCenter;
    grid.resize(gridWidth, gridHeight);
    grid.Loaded();
    grid.SetDataSource(&source);
    query.Open();
    grid.show();
    grid.setFocus();
    if (grid.visibleDataRowCount() != visibleRows || query.RecordCount() != records) {
        state.SkipWithError("wrong geometry or record count");
        return;
    }
    pageAndPaint(state, grid, *grid.viewport(), [&] { query.First(); });
    state.counters["last_record"] = query.RecNo();
}

// The same readings as display texts, formatted when the view asks for them.
class ReadingModel : public QAbstractTableModel {
public:
    ReadingModel()
    {
        readings_.reserve(records);
        for (int i = 0; i < records; ++i)
            readings_.push_back(reading(i));
    }
    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : records; }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : gridColumns; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return {};
        const bench::Reading &r = readings_[size_t(index.row())];
        switch (index.column()) {
        case 0:
            return QString::number(r.id);
        case 1:
            return date_time::toText(r.date);
        case 2:
            return QString::number(r.vehicle);
        case 3:
            return QString::number(r.total);
        default:
            return QString::number(r.distance);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *names[] = {"id", "datedoc", "idauto", "tekprobeg", "raznica"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromLatin1(names[section]);
        return {};
    }

private:
    std::vector<bench::Reading> readings_;
};

void BM_PageAndPaint_TableView(benchmark::State &state)
{
    ReadingModel model;
    QTableView view;
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(13);
    view.setFont(tahoma);
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(rowPitch);
    view.verticalHeader()->setFixedWidth(11);
    view.horizontalHeader()->setFixedHeight(titlePitch);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view.resize(gridWidth, gridHeight);
    view.show();
    view.setFocus();
    pageAndPaint(state, view, *view.viewport(), [&] { view.setCurrentIndex(model.index(0, 0)); });
    state.counters["last_record"] = view.currentIndex().row() + 1;
}

}  // namespace

BENCHMARK(BM_PageAndPaint_Grid)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PageAndPaint_TableView)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

int main(int argc, char **argv)
{
    return bench::runBenchmarks(
        argc, argv,
        [] {
            registerFonts();
            logBook();
        },
        "_TableView");
}
