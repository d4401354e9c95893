#include "app/main_form.h"

#include "app/reminder_notice.h"
#include "app/settings_form.h"
#include "data/data_module.h"
#include "editors/auto_edit_form.h"
#include "editors/events_edit_form.h"
#include "editors/form_controls.h"
#include "editors/fuel_edit_form.h"
#include "editors/mileage_edit_form.h"
#include "editors/tool_pictures.h"
#include "grid/db_grid_eh.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "report/period/period_report_run.h"
#include "report/preview/preview.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vornak {

TMainForm *MainForm = nullptr;

namespace {

constexpr int tabPictureSize = 60;
// The width a tab's grid has at the window's design size; fitted column widths start from it.
constexpr int designGridWidth = 551;
constexpr int designGridHeight = 180;

// The tab pictures (Image60), in tab order.
const char *const tabPictures[] = {":/tab_car_roof.svg", ":/tab_car_globe.svg", ":/tab_service.svg",
                                   ":/tab_booklet.svg",  ":/tab_report.svg",    ":/tab_question.svg"};

struct ActionRow {
    QAction *TMainForm::*action;
    const char *name;
    const char *category;
    const char *caption;
    int picture;
    bool visible;
    void (TMainForm::*handler)();
};

const ActionRow actionRows[] = {
    {&TMainForm::ActMileageDel, "ActMileageDel", "2 Пробег", "Удалить", tool_pictures::Minus, true,
     &TMainForm::ActMileageDelExecute},
    {&TMainForm::ActMileageEdit, "ActMileageEdit", "2 Пробег", "Изменить", tool_pictures::Edit, true,
     &TMainForm::ActMileageEditExecute},
    {&TMainForm::ActAutoNew, "ActAutoNew", "1 Ворнак", "Создать", tool_pictures::Plus, true,
     &TMainForm::ActAutoNewExecute},
    {&TMainForm::ActAutoEdit, "ActAutoEdit", "1 Ворнак", "Изменить", tool_pictures::Edit, true,
     &TMainForm::ActAutoEditExecute},
    {&TMainForm::ActFuelNew, "ActFuelNew", "3 Расходы", "Заправить", tool_pictures::Plus, true,
     &TMainForm::ActFuelNewExecute},
    {&TMainForm::ActFuelEdit, "ActFuelEdit", "3 Расходы", "Изменить", tool_pictures::Edit, true,
     &TMainForm::ActFuelEditExecute},
    {&TMainForm::ActFuelDel, "ActFuelDel", "3 Расходы", "Удалить", tool_pictures::Minus, true,
     &TMainForm::ActFuelDelExecute},
    {&TMainForm::ActAutoDel, "ActAutoDel", "1 Ворнак", "Удалить", tool_pictures::Minus, true,
     &TMainForm::ActAutoDelExecute},
    {&TMainForm::ActAutoSettings, "ActAutoSettings", "1 Ворнак", "Настройки", tool_pictures::Wrenches, false,
     &TMainForm::ActAutoSettingsExecute},
    {&TMainForm::ActMileageNew, "ActMileageNew", "2 Пробег", "Проехать", tool_pictures::Plus, true,
     &TMainForm::ActMileageNewExecute},
    {&TMainForm::ActEventsNew, "ActEventsNew", "7 События", "Новое", tool_pictures::Plus, true,
     &TMainForm::ActEventsNewExecute},
    {&TMainForm::ActEventsEdit, "ActEventsEdit", "7 События", "Изменить", tool_pictures::Edit, true,
     &TMainForm::ActEventsEditExecute},
    {&TMainForm::ActEventsDel, "ActEventsDel", "7 События", "Удалить", tool_pictures::Minus, true,
     &TMainForm::ActEventsDelExecute},
};

// Columns of the list grids: field and declared width (0: the width derived from the field).
struct ColumnRow {
    const char *field;
    int width;
};

const QList<ColumnRow> vehicleColumns = {{"nameauto", 286}, {"beginkm", 0}, {"begindate", 92}};
const QList<ColumnRow> mileageColumns = {{"datedoc", 0}, {"tekprobeg", 0}, {"raznica", 0}};
const QList<ColumnRow> expenseColumns = {
    {"DATEDOC", 0}, {"KOLVO", 0}, {"SUMMA", 0}, {"typename", 108}, {"OPISANIE", 165}};
const QList<ColumnRow> eventColumns = {
    {"datedoc", 83}, {"mileage", 86}, {"gotovo_end", 73}, {"typs", 74}, {"opisanie", 128}};

// A raised panel across the top of a tab with its caption at the left.
QFrame *headerPanel(const QString &caption, QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setFixedHeight(41);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(8, 0, 8, 0);
    auto *label = new QLabel(caption, panel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(label);
    return panel;
}

QToolBar *toolBar(const QList<QAction *> &actions, QWidget *parent, const char *name)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setFixedHeight(27);
    bar->setIconSize(QSize(tool_pictures::Size, tool_pictures::Size));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    for (QAction *action : actions) {
        bar->addAction(action);
        bar->widgetForAction(action)->setFixedSize(28, 27);
    }
    return bar;
}

// A list grid of a tab: titles, indicator, lines, no in-place editing, fitted widths, two title
// lines, every column and title centred.
TDBGridEh *listGrid(const QList<ColumnRow> &columns, QWidget *parent, const char *name)
{
    auto *grid = new TDBGridEh(parent);
    grid->setObjectName(QLatin1String(name));
    grid->SetOptions(listGridOptions);
    grid->SetOptionsEh(listGridOptionsEh);
    grid->SetAutoFitColWidths(true);
    grid->SetTitleLines(2);
    grid->SetFlat(false);
    grid->SetTitleFont(windowFont());
    for (const ColumnRow &row : columns) {
        TColumnEh *column = grid->Columns.Add(QLatin1String(row.field), row.width, taCenter);
        column->Title.Alignment = taCenter;
    }
    grid->resize(designGridWidth, designGridHeight);
    grid->Loaded();
    return grid;
}

}  // namespace

TMainForm::TMainForm(QWidget *parent)
    : TMainForm(InParts{}, parent)
{
    for (int part = 0; part < partCount; ++part)
        makePart(part);
}

TMainForm::TMainForm(InParts, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Мой ворнак"));
    setFont(windowFont());
    resize(559, 368);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void TMainForm::makePart(int part)
{
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    switch (part) {
    case 0:
        createActions();
        break;
    case 1:
        createTopPanel();
        layout->addWidget(Panel1);
        break;
    case 2:
        createPages();
        layout->addWidget(PageControl1, 1);
        break;
    default:
        createReport();
        FormCreate();
        break;
    }
}

TMainForm::~TMainForm() = default;

QList<std::function<void()>> TMainForm::picturesAhead()
{
    QList<int> tools;
    for (const ActionRow &row : actionRows)
        if (!tools.contains(row.picture))
            tools.append(row.picture);
    QList<std::function<void()>> pieces;
    for (const int tool : std::as_const(tools))
        pieces.append([tool] { tool_pictures::picture(tool); });
    for (const char *tab : tabPictures)
        pieces.append([tab] { tool_pictures::renderSvg(QString::fromLatin1(tab), tabPictureSize); });
    return pieces;
}

void TMainForm::paintAhead()
{
    QPixmap frame(size());
    render(&frame);
}

void TMainForm::createReport()
{
    periodRun = std::make_unique<PeriodReportRun>(*frxPreview1, *this);
    frxReport1 = &periodRun->Report();
    periodRun->OnBusyChanged = [this] { Button6->setEnabled(!periodRun->Busy()); };
}

void TMainForm::createActions()
{
    ActionManager1 = new QObject(this);
    ActionManager1->setObjectName(QStringLiteral("ActionManager1"));
    for (const ActionRow &row : actionRows) {
        auto *action = new QAction(tool_pictures::picture(row.picture), QString::fromUtf8(row.caption), ActionManager1);
        action->setObjectName(QLatin1String(row.name));
        action->setProperty("category", QString::fromUtf8(row.category));
        action->setVisible(row.visible);
        connect(action, &QAction::triggered, this, [this, handler = row.handler] { (this->*handler)(); });
        this->*row.action = action;
    }
}

void TMainForm::createTopPanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(33);
    Label1 = form_controls::label(QStringLiteral("Автомобиль"), {8, 8}, Panel1, "Label1");

    DBGridEh2 = new TDBGridEh(Panel1);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    DBGridEh2->SetOptions(selectorGridOptions);
    DBGridEh2->SetOptionsEh(selectorGridOptionsEh);
    DBGridEh2->SetAutoFitColWidths(true);
    DBGridEh2->SetTitleLines(2);
    DBGridEh2->SetFlat(false);
    DBGridEh2->SetTitleFont(windowFont());
    TColumnEh *name = DBGridEh2->Columns.Add(QStringLiteral("nameauto"), 200, taLeftJustify);
    name->Title.Alignment = taCenter;
    DBGridEh2->setGeometry(83, 3, 225, 25);
    DBGridEh2->Loaded();
    DBGridEh2->OnDblClick = [this](TDBGridEh *) { ActAutoEditExecute(); };
    DBGridEh2->installEventFilter(this);
}

QWidget *TMainForm::createListTab(const char *name, const QString &caption, QToolBar *&bar, const char *barName,
                                  const QList<QAction *> &actions, TDBGridEh *grid)
{
    auto *tab = new QWidget;
    tab->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerPanel(caption, tab));
    bar = toolBar(actions, tab, barName);
    layout->addWidget(bar);
    layout->addWidget(grid, 1);
    return tab;
}

void TMainForm::createPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setIconSize(QSize(tabPictureSize, tabPictureSize));

    DBGridEh1 = listGrid(vehicleColumns, this, "DBGridEh1");
    DBGridEh4 = listGrid(mileageColumns, this, "DBGridEh4");
    DBGridEh3 = listGrid(expenseColumns, this, "DBGridEh3");
    DBGridEh8 = listGrid(eventColumns, this, "DBGridEh8");
    DBGridEh8->ReadOnly = true;

    TabAuto = createListTab("TabAuto", QStringLiteral("Ворнак"), ToolBarAuto, "ToolBarAuto",
                            {ActAutoNew, ActAutoEdit, ActAutoDel, ActAutoSettings}, DBGridEh1);
    TabSheet11 = createListTab("TabSheet11", QStringLiteral("Пробег"), ToolBarMileage, "ToolBarMileage",
                               {ActMileageNew, ActMileageEdit, ActMileageDel}, DBGridEh4);
    TabSheet2 = createListTab("TabSheet2", QStringLiteral("Затраты"), ToolBarFuel, "ToolBarFuel",
                              {ActFuelNew, ActFuelEdit, ActFuelDel}, DBGridEh3);
    TabSheet7 = createListTab("TabSheet7", QStringLiteral("События"), ToolBarEvents, "ToolBarEvents",
                              {ActEventsNew, ActEventsEdit, ActEventsDel}, DBGridEh8);
    createReportTab();
    createAboutTab();

    const QList<QWidget *> tabs = {TabAuto, TabSheet11, TabSheet2, TabSheet7, TabSheet5, TabSheet4};
    for (int i = 0; i < tabs.size(); ++i)
        PageControl1->addTab(tabs[i], tool_pictures::renderSvg(QString::fromLatin1(tabPictures[i]), tabPictureSize),
                             QString());
    PageControl1->setCurrentWidget(TabSheet7);

    DBGridEh1->OnDblClick = [this](TDBGridEh *) { ActAutoEditExecute(); };
    DBGridEh4->OnDblClick = [this](TDBGridEh *) { ActMileageEditExecute(); };
    DBGridEh3->OnDblClick = [this](TDBGridEh *) { ActFuelEditExecute(); };
    DBGridEh8->OnDblClick = [this](TDBGridEh *) { ActEventsEditExecute(); };
    DBGridEh1->installEventFilter(this);
}

void TMainForm::createReportTab()
{
    TabSheet5 = new QWidget;
    TabSheet5->setObjectName(QStringLiteral("TabSheet5"));
    auto *layout = new QVBoxLayout(TabSheet5);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerPanel(QStringLiteral("Отчет"), TabSheet5));
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    layout->addLayout(body, 1);

    GroupBox2 = new QGroupBox(QStringLiteral("Настройка отчета"), TabSheet5);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFixedWidth(157);
    Label5 = form_controls::label(QStringLiteral("Период"), {13, 30}, GroupBox2, "Label5");
    Label7 = form_controls::label(QStringLiteral("с"), {13, 52}, GroupBox2, "Label7");
    Label6 = form_controls::label(QStringLiteral("по"), {11, 82}, GroupBox2, "Label6");
    DateTimePicker1 = form_controls::datePicker({40, 52, 105, 24}, GroupBox2, "DateTimePicker1");
    DateTimePicker2 = form_controls::datePicker({40, 82, 105, 24}, GroupBox2, "DateTimePicker2");
    Button3 = form_controls::button(QStringLiteral("Сформировать"), {11, 119, 134, 25}, GroupBox2, "Button3");
    Button4 = form_controls::button(QStringLiteral("Предпросмотр"), {11, 150, 134, 25}, GroupBox2, "Button4");
    Button4->setVisible(false);
    Button5 = form_controls::button(QStringLiteral("Печать"), {11, 181, 134, 25}, GroupBox2, "Button5");
    Button6 = form_controls::button(QStringLiteral("Сохранить PDF..."), {11, 212, 134, 25}, GroupBox2, "Button6");
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    body->addWidget(GroupBox2);

    // The report preview fills the rest of the tab.
    frxPreview1 = new TfrxPreview(TabSheet5);
    frxPreview1->setObjectName(QStringLiteral("frxPreview1"));
    body->addWidget(frxPreview1, 1);
}

QString TMainForm::DatabasePath()
{
    return QDir::current().absoluteFilePath(QStringLiteral("VORNAK.mdb"));
}

void TMainForm::createAboutTab()
{
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    auto *layout = new QVBoxLayout(TabSheet4);
    layout->setContentsMargins(16, 16, 16, 16);
    AboutText = new QLabel(TabSheet4);
    AboutText->setObjectName(QStringLiteral("AboutText"));
    AboutText->setWordWrap(true);
    AboutText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AboutText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AboutText->setText(
        QStringLiteral("<p><b style=\"font-size:16px\">Мой ворнак</b></p>"
                       "<p>Версия %1</p>"
                       "<p>Журнал автомобилиста: автомобили, показания одометра, затраты по типам расходов, "
                       "события обслуживания и отчет за период.</p>"
                       "<p>Файл базы данных:<br>%2</p>")
            .arg(QStringLiteral(VORNAK_VERSION), DatabasePath().toHtmlEscaped()));
    layout->addWidget(AboutText);
}

void TMainForm::FormCreate()
{
    const QDate today = Clock::current().now().date();
    DateTimePicker1->setDate(QDate(today.year(), today.month(), 1));
    DateTimePicker2->setDate(QDate(today.year(), today.month(), today.daysInMonth()));
}

void TMainForm::bindData()
{
    DBGridEh2->SetDataSource(DataModule1->SourceSprAuto);
    DBGridEh1->SetDataSource(DataModule1->SourceSprAuto);
    DBGridEh4->SetDataSource(DataModule1->SourceDocMileage);
    DBGridEh3->SetDataSource(DataModule1->SourceDocExpense);
    DBGridEh8->SetDataSource(DataModule1->SourceDocEvents);
    reminder_notice::markDueEvents(*DBGridEh8);

    periodRun->bind(*DataModule1);
}

bool TMainForm::refuseVehicleDelete()
{
    if (!DataModule1)
        return false;
    const QString id = DataModule1->TableSprAutoid->AsString();
    if (id.isEmpty() || !DataModule1->vehicleHasEntries(id))
        return false;
    TAutoEditForm::showDeleteRefusal();
    return true;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == DBGridEh1 || watched == DBGridEh2) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The grids delete on Delete with Ctrl held, whatever other modifiers are held with it.
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier))
            return refuseVehicleDelete();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::ActAutoNewExecute()
{
    AutoEditForm->NewRecord();
}
void TMainForm::ActAutoEditExecute()
{
    AutoEditForm->EditRecord();
}
void TMainForm::ActAutoDelExecute()
{
    AutoEditForm->DelRecord();
}
void TMainForm::ActAutoSettingsExecute()
{
    UserDialogs::current().showModal(*SettingsForm);
}
void TMainForm::ActMileageNewExecute()
{
    MileageEditForm->NewRecord();
}
void TMainForm::ActMileageEditExecute()
{
    MileageEditForm->EditRecord();
}
void TMainForm::ActMileageDelExecute()
{
    MileageEditForm->DelRecord();
}
void TMainForm::ActFuelNewExecute()
{
    FuelEditForm->NewRecord();
}
void TMainForm::ActFuelEditExecute()
{
    FuelEditForm->EditRecord();
}
void TMainForm::ActFuelDelExecute()
{
    FuelEditForm->DelRecord();
}
void TMainForm::ActEventsNewExecute()
{
    EventsEditForm->NewRecord();
}
void TMainForm::ActEventsEditExecute()
{
    EventsEditForm->EditRecord();
}
void TMainForm::ActEventsDelExecute()
{
    EventsEditForm->DelRecord();
}

void TMainForm::Button3Click()
{
    periodRun->Show(DateTimePicker1->date(), DateTimePicker2->date());
}

void TMainForm::Button4Click() {}

void TMainForm::Button5Click()
{
    periodRun->Print(DateTimePicker1->date(), DateTimePicker2->date());
}

void TMainForm::Button6Click()
{
    periodRun->SavePdf(DateTimePicker1->date(), DateTimePicker2->date());
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // The progress window keeps no process alive: the print stops and the application ends once
    // the print loop has let go.
    if (periodRun->Printing()) {
        periodRun->CancelPrint();
        QCoreApplication::quit();
    }
    QWidget::closeEvent(event);
}

}  // namespace vornak
