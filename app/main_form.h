#pragma once

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace vornak {

class PeriodReportRun;
class TDBGridEh;
class TfrxPreview;
class TfrxReport;

// The main window: the vehicle selector above six picture tabs (vehicles, mileage, expenses,
// events, report, about). Created before the data module: bindData binds the grids to the data
// module's sources once it exists. The report tab's buttons call the period report's run
// (periodRun), which owns the report frxReport1 and its data sets.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The window may also be made a part at a time, so that the start-up can spread its making
    // over the frames of its animation: TMainForm(InParts) makes the bare window, and
    // makePart(0 .. partCount - 1), called in that order, makes the rest.
    struct InParts {};
    static constexpr int partCount = 4;
    explicit TMainForm(InParts, QWidget *parent = nullptr);
    void makePart(int part);

    // Binds the five grids and the five report data sets to the data module (DataModule1).
    void bindData();
    // Drawing the window's pictures ahead of its creation, a picture a piece, for the start-up to
    // spread over the frames of its animation; the window then finds them drawn.
    static QList<std::function<void()>> picturesAhead();
    // Paints the window, still hidden, once into a picture of its size: every widget is polished
    // and laid out, and the fonts and glyphs of its first frame are loaded, so that showing the
    // window once the start-up's animation has played costs little.
    void paintAhead();

    // The creation handler: the report period defaults to the current month.
    void FormCreate();

    // Action handlers: each calls one operation of a dialog.
    void ActAutoNewExecute();
    void ActAutoEditExecute();
    void ActAutoDelExecute();
    void ActAutoSettingsExecute();
    void ActMileageNewExecute();
    void ActMileageEditExecute();
    void ActMileageDelExecute();
    void ActFuelNewExecute();
    void ActFuelEditExecute();
    void ActFuelDelExecute();
    void ActEventsNewExecute();
    void ActEventsEditExecute();
    void ActEventsDelExecute();

    // Report buttons. "Сформировать" prepares and shows the report of the current vehicle and
    // the period; "Печать" prints the report last prepared and has the preview prepare it again;
    // "Сохранить PDF..." saves the report of the current vehicle and the period as a PDF file.
    // They do nothing without a vehicle or while the report is being prepared or printed.
    // "Предпросмотр" (hidden) does nothing.
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();

    // The absolute path of the log book file the program opens: VORNAK.mdb in the working
    // directory.
    static QString DatabasePath();

    QFrame *Panel1;
    QLabel *Label1;
    TDBGridEh *DBGridEh2;
    QTabWidget *PageControl1;
    QWidget *TabAuto;
    QWidget *TabSheet11;
    QWidget *TabSheet2;
    QWidget *TabSheet7;
    QWidget *TabSheet5;
    QWidget *TabSheet4;
    TDBGridEh *DBGridEh1;
    TDBGridEh *DBGridEh4;
    TDBGridEh *DBGridEh3;
    TDBGridEh *DBGridEh8;
    QToolBar *ToolBarAuto;
    QToolBar *ToolBarMileage;
    QToolBar *ToolBarFuel;
    QToolBar *ToolBarEvents;

    QGroupBox *GroupBox2;
    QLabel *Label5;
    QLabel *Label7;
    QLabel *Label6;
    QDateEdit *DateTimePicker1;
    QDateEdit *DateTimePicker2;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *Button5;
    QPushButton *Button6;
    TfrxPreview *frxPreview1;
    QLabel *AboutText;

    // The report tab's report and its run; frxReport1 is its report.
    std::unique_ptr<PeriodReportRun> periodRun;
    TfrxReport *frxReport1;

    QObject *ActionManager1;
    QAction *ActMileageDel;
    QAction *ActMileageEdit;
    QAction *ActAutoNew;
    QAction *ActAutoEdit;
    QAction *ActFuelNew;
    QAction *ActFuelEdit;
    QAction *ActFuelDel;
    QAction *ActAutoDel;
    QAction *ActAutoSettings;
    QAction *ActMileageNew;
    QAction *ActEventsNew;
    QAction *ActEventsEdit;
    QAction *ActEventsDel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Closing the window during a print cancels the print; the process ends as always.
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createTopPanel();
    void createPages();
    QWidget *createListTab(const char *name, const QString &caption, QToolBar *&toolBar, const char *toolBarName,
                           const QList<QAction *> &actions, TDBGridEh *grid);
    void createReportTab();
    void createAboutTab();
    void createReport();
    // Ctrl+Delete in a vehicle grid: a vehicle that still has entries is refused.
    bool refuseVehicleDelete();
};

extern TMainForm *MainForm;

}  // namespace vornak
