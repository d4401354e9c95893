#include "app/main_form.h"
#include "app/settings_form.h"
#include "data/db_edit.h"
#include "grid/db_grid_eh.h"
#include "platform/errors.h"
#include "report/preview/preview.h"
#include "tests/app/main_window_session.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QString niva =
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 1000, '01.02.2020')");
const QString volga =
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Волга', 5000, '03.04.2021')");
const QString nivaReading =
    QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('05.02.2020', 1, 1100, 100)");

QPoint firstRowCenter(const TDBGridEh &grid)
{
    const int left = grid.columnLeft(0);
    return {left + (grid.columnLeft(1) - left) / 2,
            grid.dataTop() + grid.currentRow() * grid.rowPitch() + grid.RowHeight() / 2};
}

}  // namespace

TEST(MainWindow, OpensOnTheEventsTabWithPictureTabsAndTheCurrentMonthAsReportPeriod)
{
    MainWindowSession session({niva});
    TMainForm &form = *MainForm;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Мой ворнак"));
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet7);
    const QList<QWidget *> tabs = {form.TabAuto,   form.TabSheet11, form.TabSheet2,
                                   form.TabSheet7, form.TabSheet5,  form.TabSheet4};
    ASSERT_EQ(form.PageControl1->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form.PageControl1->widget(i), tabs[i]) << i;
        EXPECT_TRUE(form.PageControl1->tabText(i).isEmpty()) << i;
        EXPECT_EQ(form.PageControl1->tabIcon(i).actualSize(QSize(60, 60)), QSize(60, 60)) << i;
    }

    // 10.12.2026 by the fixed clock.
    EXPECT_EQ(form.DateTimePicker1->date(), QDate(2026, 12, 1));
    EXPECT_EQ(form.DateTimePicker2->date(), QDate(2026, 12, 31));
    EXPECT_FALSE(form.Button4->isVisibleTo(&form));
    EXPECT_EQ(form.Button3->text(), QStringLiteral("Сформировать"));
    EXPECT_EQ(form.frxPreview1->objectName(), QStringLiteral("frxPreview1"));
    EXPECT_TRUE(
        form.AboutText->text().contains(QDir(session.file.folder()).absoluteFilePath(QStringLiteral("VORNAK.mdb"))));
}

TEST(MainWindow, ToolbarsShowTheirActionsAndTheSettingsActionIsHidden)
{
    MainWindowSession session;
    TMainForm &form = *MainForm;
    const struct {
        QToolBar *bar;
        QList<QAction *> shown;
    } bars[] = {
        {form.ToolBarAuto, {form.ActAutoNew, form.ActAutoEdit, form.ActAutoDel}},
        {form.ToolBarMileage, {form.ActMileageNew, form.ActMileageEdit, form.ActMileageDel}},
        {form.ToolBarFuel, {form.ActFuelNew, form.ActFuelEdit, form.ActFuelDel}},
        {form.ToolBarEvents, {form.ActEventsNew, form.ActEventsEdit, form.ActEventsDel}},
    };
    for (const auto &bar : bars) {
        form.PageControl1->setCurrentWidget(bar.bar->parentWidget());
        QList<QAction *> shown;
        for (QAction *action : bar.bar->actions()) {
            if (bar.bar->widgetForAction(action)->isVisible()) {
                shown.append(action);
                EXPECT_EQ(bar.bar->widgetForAction(action)->size(), QSize(28, 27));
            }
        }
        EXPECT_EQ(shown, bar.shown) << bar.bar->objectName().toStdString();
    }
    EXPECT_FALSE(form.ActAutoSettings->isVisible());
    EXPECT_EQ(form.ActAutoSettings->property("category").toString(), QStringLiteral("1 Ворнак"));
    EXPECT_EQ(form.ActFuelNew->text(), QStringLiteral("Заправить"));

    // The hidden action still shows the settings dialog modally.
    QDialog *shown = nullptr;
    session.dialogs.modalAnswers.push_back([&](QDialog &dialog) {
        shown = &dialog;
        return ModalResult::Ok;
    });
    form.ActAutoSettings->trigger();
    EXPECT_EQ(shown, SettingsForm);
}

TEST(MainWindow, GridsAreBoundToTheDataModuleWithTheirColumns)
{
    MainWindowSession session({niva});
    TMainForm &form = *MainForm;
    const struct {
        TDBGridEh *grid;
        TDataSource *source;
        QStringList fields;
    } grids[] = {
        {form.DBGridEh2, session.module->SourceSprAuto, {"nameauto"}},
        {form.DBGridEh1, session.module->SourceSprAuto, {"nameauto", "beginkm", "begindate"}},
        {form.DBGridEh4, session.module->SourceDocMileage, {"datedoc", "tekprobeg", "raznica"}},
        {form.DBGridEh3, session.module->SourceDocExpense, {"DATEDOC", "KOLVO", "SUMMA", "typename", "OPISANIE"}},
        {form.DBGridEh8, session.module->SourceDocEvents, {"datedoc", "mileage", "gotovo_end", "typs", "opisanie"}},
    };
    for (const auto &g : grids) {
        EXPECT_EQ(g.grid->DataSource(), g.source) << g.grid->objectName().toStdString();
        QStringList fields;
        for (int i = 0; i < g.grid->Columns.Count(); ++i)
            fields.append(g.grid->Columns[i]->FieldName());
        EXPECT_EQ(fields, g.fields);
    }
    EXPECT_TRUE(form.DBGridEh8->ReadOnly);
    EXPECT_EQ(form.DBGridEh2->Columns[0]->Alignment(), taLeftJustify);
    EXPECT_EQ(form.DBGridEh1->Columns[1]->Alignment(), taCenter);
    EXPECT_EQ(form.DBGridEh2->geometry(), QRect(83, 3, 225, 25));
}

TEST(MainWindow, DoubleClickingTheSelectorOrTheVehicleListEditsTheCurrentVehicle)
{
    MainWindowSession session({niva, volga});
    TMainForm &form = *MainForm;
    session.module->TableSprAuto->Last();
    session.recordDialogs(3);
    QTest::mouseDClick(form.DBGridEh2->viewport(), Qt::LeftButton, {}, firstRowCenter(*form.DBGridEh2));
    QTest::mouseClick(session.button(form.ToolBarAuto, form.ActAutoEdit), Qt::LeftButton);
    form.PageControl1->setCurrentWidget(form.TabAuto);
    QTest::mouseDClick(form.DBGridEh1->viewport(), Qt::LeftButton, {}, firstRowCenter(*form.DBGridEh1));
    const QString edit = QStringLiteral("Редактирование автомобиля|Волга");
    EXPECT_EQ(session.shownDialogs, QStringList({edit, edit, edit}));
    EXPECT_EQ(session.module->TableSprAuto->State(), dsBrowse);
}

TEST(MainWindow, WithoutVehiclesEditAndDeleteDoNothingAndTheListsShowTheirTitles)
{
    MainWindowSession session;
    TMainForm &form = *MainForm;
    form.PageControl1->setCurrentWidget(form.TabAuto);
    session.recordDialogs(1);
    QTest::mouseClick(session.button(form.ToolBarAuto, form.ActAutoEdit), Qt::LeftButton);
    QTest::mouseClick(session.button(form.ToolBarAuto, form.ActAutoDel), Qt::LeftButton);
    QTest::mouseDClick(form.DBGridEh2->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(session.shownDialogs.isEmpty());
    EXPECT_TRUE(session.dialogs.messages.isEmpty());
    // The lists stay closed, yet their titles are the fields' labels.
    QStringList titles;
    for (int i = 0; i < form.DBGridEh8->Columns.Count(); ++i)
        titles.append(form.DBGridEh8->Columns[i]->Title.Caption());
    EXPECT_EQ(titles, QStringList({"Дата выполнения", "Пробег выполнения", "Готово", "Активность", "Описание"}));

    // The new button still creates the first vehicle, which the selector then shows.
    session.dialogs.modalAnswers = {answer([](QDialog &dialog) {
        auto &vehicle = static_cast<TAutoEditForm &>(dialog);
        typeInto(vehicle.DBEdit1, QStringLiteral("Нива"));
        QTest::mouseClick(vehicle.Button1, Qt::LeftButton);
        return ModalResult(dialog.result());
    })};
    QTest::mouseClick(session.button(form.ToolBarAuto, form.ActAutoNew), Qt::LeftButton);
    EXPECT_EQ(session.vehicles(), QStringList{QStringLiteral("Нива")});
    EXPECT_EQ(form.DBGridEh2->DataLink().RecordCount(), 1);
}

TEST(MainWindow, CtrlDeleteInAVehicleGridRefusesAVehicleWithEntries)
{
    MainWindowSession session({niva, volga, nivaReading});
    TMainForm &form = *MainForm;
    form.PageControl1->setCurrentWidget(form.TabAuto);
    // The grids take Delete with Ctrl held whatever else is held with it.
    const Qt::KeyboardModifiers withCtrl[] = {Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier,
                                              Qt::ControlModifier | Qt::AltModifier};
    for (TDBGridEh *grid : {form.DBGridEh1, form.DBGridEh2}) {
        for (Qt::KeyboardModifiers modifiers : withCtrl) {
            session.module->TableSprAuto->First();
            grid->setFocus();
            session.dialogs.messageAnswers = {ModalResult::Ok};
            QTest::keyClick(grid, Qt::Key_Delete, modifiers);
            ASSERT_FALSE(session.dialogs.messages.isEmpty());
            EXPECT_EQ(session.dialogs.messages.last().text, TDataModule1::vehicleDeleteRefusal);
            EXPECT_EQ(session.vehicles(), QStringList({QStringLiteral("Нива"), QStringLiteral("Волга")}));
        }
    }
    EXPECT_EQ(session.dialogs.messages.size(), 6);

    // Any other path that deletes the vehicle through its table is refused the same way.
    session.module->TableSprAuto->First();
    try {
        session.module->TableSprAuto->Delete();
        ADD_FAILURE() << "a vehicle with entries was deleted";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), TDataModule1::vehicleDeleteRefusal);
    }
    EXPECT_EQ(session.vehicles(), QStringList({QStringLiteral("Нива"), QStringLiteral("Волга")}));

    // A vehicle without entries: the grid's own question, then the delete.
    session.module->TableSprAuto->Last();
    form.DBGridEh1->setFocus();
    session.dialogs.messageAnswers = {ModalResult::Ok};
    QTest::keyClick(form.DBGridEh1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(session.dialogs.messages.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(session.vehicles(), QStringList{QStringLiteral("Нива")});
}
