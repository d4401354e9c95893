// The dialog is built in five groups laid out on a grid and given a fixed size. Choosing a
// printer makes it current at once (frxPrinters), so the port and the paper list always show
// the current printer's; a close other than OK makes the printer current on opening current
// again. OK first checks a page list and asks for the print file, then closes; the choices are
// written back to the print options after the dialog has closed, so an empty copy count ends the
// print command with its conversion error while nothing has been locked or sent.

#include "report/print/print_dialog.h"

#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/number_format.h"
#include "platform/output_path.h"
#include "report/model/report_options.h"
#include "report/model/report_types.h"
#include "report/print/page_numbers.h"
#include "report/print/print_pictures.h"
#include "report/print/printer.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace vornak {

namespace {

constexpr int a4Paper = 9;
constexpr int printModeIconSize = 32;
const QString printFileSuffix = QStringLiteral("prn");

// The rows of the lists, in the order of their option values.
const char *const printPagesRows[] = {"printAllPages", "printOddPages", "printEvenPages"};
const char *const orderRows[] = {"orderDirect", "orderReverse"};
// TfrxDuplexMode order: none, vertical, horizontal, simplex.
const char *const duplexRows[] = {"duplexDefault", "duplexVertical", "duplexHorizontal", "duplexSimplex"};

struct PrintModeRow {
    const char *text;
    PrintPicture picture;
};
// TfrxPrintMode order.
const PrintModeRow printModeRows[] = {
    {"modeDefault", PrintPicture::ModeDefault},
    {"modeSplit", PrintPicture::ModeSplit},
    {"modeJoin", PrintPicture::ModeJoin},
    {"modeScale", PrintPicture::ModeScale},
};

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

template <size_t N>
QComboBox *listBox(const char *name, const char *const (&rows)[N])
{
    auto *box = named(new QComboBox, name);
    for (const char *row : rows)
        box->addItem(reportText(row));
    return box;
}

// The duplex row of a device duplex setting.
int duplexRow(int deviceDuplex)
{
    switch (deviceDuplex) {
    case PrinterDeviceMode::Vertical:
        return dmVertical;
    case PrinterDeviceMode::Horizontal:
        return dmHorizontal;
    default:
        return dmSimplex;
    }
}

void refuse(const QString &text)
{
    UserDialogs::current().messageBox(text, reportText("errorCaption"), MessageButtons::Ok, MessageIcon::Error);
}

// `fileName` with its extension replaced by (or given) ".prn".
QString withPrintFileSuffix(const QString &fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > slash + 1 ? fileName.left(dot) : fileName;
    return base + QLatin1Char('.') + printFileSuffix;
}

}  // namespace

TfrxPrintDialog::TfrxPrintDialog(TfrxPrintOptions &options, int pageCount, int currentPage, QWidget *parent)
    : QDialog(parent),
      options_(options),
      pageCount_(pageCount),
      currentPage_(currentPage),
      openedPrinter_(frxPrinters().PrinterIndex())
{
    setObjectName(QStringLiteral("frxPrintDialog"));
    setWindowTitle(reportText("printDialogCaption"));
    createPrinterGroup();
    createPagesGroup();
    createCopiesGroup();
    createOtherGroup();
    createModeGroup();

    OkB = named(new QPushButton(reportText("ok")), "OkB");
    OkB->setDefault(true);
    CancelB = named(new QPushButton(reportText("cancel")), "CancelB");
    connect(OkB, &QPushButton::clicked, this, [this] { OkBClick(); });
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkB);
    buttons->addWidget(CancelB);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label12, 0, 0, 1, 2);
    layout->addWidget(Label1, 1, 0);
    layout->addWidget(Label2, 1, 1);
    layout->addWidget(OtherGB, 2, 0);
    layout->addWidget(ScaleGB, 2, 1);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    fill();
    setFixedSize(sizeHint());
}

TfrxPrintDialog::~TfrxPrintDialog() = default;

void TfrxPrintDialog::createPrinterGroup()
{
    Label12 = named(new QGroupBox(reportText("printerGroup")), "Label12");
    NameL = named(new QLabel(reportText("printerName")), "NameL");
    PrintersCB = named(new QComboBox, "PrintersCB");
    PrintersCB->setMinimumWidth(260);
    TfrxPrinters &printers = frxPrinters();
    const QPixmap icon = printPicture(PrintPicture::Printer);
    for (const QString &name : printers.Printers())
        PrintersCB->addItem(icon, name);
    PrintersCB->setCurrentIndex(printers.PrinterIndex());
    NameL->setBuddy(PrintersCB);
    WhereL = named(new QLabel(reportText("printerWhere")), "WhereL");
    WhereL1 = named(new QLabel, "WhereL1");
    PropButton = named(new QPushButton(reportText("printerProperties")), "PropButton");
    FileCB = named(new QCheckBox(reportText("printToFile")), "FileCB");

    auto *grid = new QGridLayout(Label12);
    grid->addWidget(NameL, 0, 0);
    grid->addWidget(PrintersCB, 0, 1);
    grid->addWidget(PropButton, 0, 2);
    grid->addWidget(WhereL, 1, 0);
    grid->addWidget(WhereL1, 1, 1);
    grid->addWidget(FileCB, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(PrintersCB, &QComboBox::activated, this, [this] { printerChanged(); });
    connect(PropButton, &QPushButton::clicked, this, [this] {
        frxPrinters().Printer().PropertiesDlg();
        showDuplex();
    });
}

void TfrxPrintDialog::createPagesGroup()
{
    Label1 = named(new QGroupBox(reportText("pagesGroup")), "Label1");
    AllRB = named(new QRadioButton(reportText("allPages")), "AllRB");
    CurPageRB = named(new QRadioButton(reportText("currentPage")), "CurPageRB");
    PageNumbersRB = named(new QRadioButton(reportText("pageNumbers")), "PageNumbersRB");
    PageNumbersE = named(new QLineEdit, "PageNumbersE");
    DescrL = named(new QLabel(reportText("pageNumbersHint")), "DescrL");
    DescrL->setWordWrap(true);
    AllRB->setChecked(true);

    auto *grid = new QGridLayout(Label1);
    grid->addWidget(AllRB, 0, 0, 1, 2);
    grid->addWidget(CurPageRB, 1, 0, 1, 2);
    grid->addWidget(PageNumbersRB, 2, 0);
    grid->addWidget(PageNumbersE, 2, 1);
    grid->addWidget(DescrL, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    PageNumbersE->installEventFilter(this);
    connect(PageNumbersRB, &QRadioButton::clicked, this, [this] { PageNumbersE->setFocus(Qt::OtherFocusReason); });
}

void TfrxPrintDialog::createCopiesGroup()
{
    Label2 = named(new QGroupBox(reportText("copiesGroup")), "Label2");
    CopiesL = named(new QLabel(reportText("copiesCount")), "CopiesL");
    CopiesE = named(new QLineEdit, "CopiesE");
    CopiesE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), CopiesE));
    CopiesE->setMaximumWidth(60);
    CopiesL->setBuddy(CopiesE);

    UpDown1 = named(new QWidget, "UpDown1");
    auto *arrows = new QVBoxLayout(UpDown1);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (const std::pair<Qt::ArrowType, int> &arrow : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto *button = new QToolButton;
        button->setArrowType(arrow.first);
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        arrows->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, step = arrow.second] { stepCopies(step); });
    }

    CollateCB = named(new QCheckBox(reportText("collate")), "CollateCB");
    CollateImage = named(new QLabel, "CollateImage");
    connect(CollateCB, &QCheckBox::toggled, this, [this](bool collated) {
        CollateImage->setPixmap(printPicture(collated ? PrintPicture::Collated : PrintPicture::Uncollated));
    });

    auto *grid = new QGridLayout(Label2);
    auto *copies = new QHBoxLayout;
    copies->setSpacing(0);
    copies->addWidget(CopiesE);
    copies->addWidget(UpDown1);
    copies->addStretch();
    grid->addWidget(CopiesL, 0, 0);
    grid->addLayout(copies, 0, 1);
    grid->addWidget(CollateImage, 1, 0);
    grid->addWidget(CollateCB, 1, 1);
    grid->setRowStretch(2, 1);
}

void TfrxPrintDialog::createOtherGroup()
{
    OtherGB = named(new QGroupBox(reportText("otherGroup")), "OtherGB");
    PrintL = named(new QLabel(reportText("printWhich")), "PrintL");
    PrintPagesCB = listBox("PrintPagesCB", printPagesRows);
    OrderL = named(new QLabel(reportText("printOrder")), "OrderL");
    OrderCB = listBox("OrderCB", orderRows);
    DuplexL = named(new QLabel(reportText("duplex")), "DuplexL");
    DuplexCB = listBox("DuplexCB", duplexRows);

    auto *grid = new QGridLayout(OtherGB);
    const std::pair<QLabel *, QComboBox *> rows[] = {{PrintL, PrintPagesCB}, {OrderL, OrderCB}, {DuplexL, DuplexCB}};
    for (int row = 0; row < 3; ++row) {
        rows[row].first->setBuddy(rows[row].second);
        grid->addWidget(rows[row].first, row, 0);
        grid->addWidget(rows[row].second, row, 1);
    }
    grid->setColumnStretch(1, 1);
}

void TfrxPrintDialog::createModeGroup()
{
    ScaleGB = named(new QGroupBox(reportText("printModeGroup")), "ScaleGB");
    PrintModeCB = named(new QComboBox, "PrintModeCB");
    PrintModeCB->setIconSize(QSize(printModeIconSize, printModeIconSize));
    for (const PrintModeRow &row : printModeRows)
        PrintModeCB->addItem(printPicture(row.picture), reportText(row.text));
    PagSizeL = named(new QLabel(reportText("printOnSheet")), "PagSizeL");
    PagPageSizeCB = named(new QComboBox, "PagPageSizeCB");
    PagSizeL->setBuddy(PagPageSizeCB);

    auto *grid = new QGridLayout(ScaleGB);
    grid->addWidget(PrintModeCB, 0, 0, 1, 2);
    grid->addWidget(PagSizeL, 1, 0);
    grid->addWidget(PagPageSizeCB, 1, 1);
    grid->setColumnStretch(1, 1);
    connect(PrintModeCB, &QComboBox::activated, this, [this] { modeChanged(); });
}

// The print options as the dialog opens, and the current printer's port and papers.
void TfrxPrintDialog::fill()
{
    CopiesE->setText(QString::number(options_.Copies));
    CollateCB->setChecked(options_.Collate);
    CollateImage->setPixmap(printPicture(options_.Collate ? PrintPicture::Collated : PrintPicture::Uncollated));
    if (!options_.PageNumbers.isEmpty()) {
        PageNumbersRB->setChecked(true);
        PageNumbersE->setText(options_.PageNumbers);
    }
    PrintPagesCB->setCurrentIndex(options_.PrintPages);
    OrderCB->setCurrentIndex(options_.Reverse ? 1 : 0);
    DuplexCB->setCurrentIndex(options_.Duplex);
    PrintModeCB->setCurrentIndex(options_.PrintMode);
    printerChanged();
    if (options_.PrintOnSheet != 0) {
        for (const PrinterPaper &paper : frxPrinters().Printer().Papers)
            if (paper.code == options_.PrintOnSheet) {
                PagPageSizeCB->setCurrentText(paper.name);
                break;
            }
    }
}

void TfrxPrintDialog::printerChanged()
{
    TfrxPrinters &printers = frxPrinters();
    if (PrintersCB->currentIndex() != printers.PrinterIndex())
        printers.SetPrinterIndex(PrintersCB->currentIndex());
    TfrxCustomPrinter &printer = printers.Printer();
    printer.Init();
    WhereL1->setText(printer.Port);
    PagPageSizeCB->clear();
    PagPageSizeCB->addItem(reportText("sheetDefault"));
    for (const PrinterPaper &paper : printer.Papers)
        PagPageSizeCB->addItem(paper.name);
    PagPageSizeCB->setEnabled(PrintModeCB->currentIndex() != pmDefault);
    showDuplex();
}

// A duplex chosen in the driver's properties dialog is shown in the duplex list.
void TfrxPrintDialog::showDuplex()
{
    const int duplex = frxPrinters().Printer().Duplex;
    if (duplex != -1)
        DuplexCB->setCurrentIndex(duplexRow(duplex));
}

void TfrxPrintDialog::modeChanged()
{
    const bool sheetMode = PrintModeCB->currentIndex() != pmDefault;
    PagPageSizeCB->setEnabled(sheetMode);
    if (!sheetMode || PagPageSizeCB->currentIndex() != 0)
        return;
    for (const PrinterPaper &paper : frxPrinters().Printer().Papers)
        if (paper.code == a4Paper) {
            PagPageSizeCB->setCurrentText(paper.name);
            return;
        }
}

void TfrxPrintDialog::stepCopies(int step)
{
    const int copies = parseInteger(CopiesE->text()).value_or(0);
    CopiesE->setText(QString::number(std::max(1, copies + step)));
}

void TfrxPrintDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

// Entering the page list checks "Номера:".
bool TfrxPrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PageNumbersE && event->type() == QEvent::FocusIn)
        PageNumbersRB->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

bool TfrxPrintDialog::pageListAccepted()
{
    if (!PageNumbersRB->isChecked())
        return true;
    const QString list = PageNumbersE->text();
    try {
        if (!frxNamesNoPage(list, frxParsePageNumbers(list, pageCount_), pageCount_))
            return true;
        refuse(reportText("noPagesInList").arg(list));
    } catch (const ConversionError &) {
        refuse(reportText("badPageList").arg(list));
    }
    PageNumbersE->setFocus(Qt::OtherFocusReason);
    PageNumbersE->selectAll();
    return false;
}

bool TfrxPrintDialog::askFileName()
{
    QFileDialog save(this, reportText("printToFile"));
    save.setObjectName(QStringLiteral("SaveDialog"));
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.setNameFilter(reportText("printFileFilter"));
    save.setDefaultSuffix(printFileSuffix);
    if (UserDialogs::current().showModal(save) != ModalResult::Ok || save.selectedFiles().isEmpty())
        return false;
    fileName_ = withPrintFileSuffix(save.selectedFiles().constFirst());
    return true;
}

void TfrxPrintDialog::OkBClick()
{
    if (!pageListAccepted())
        return;
    fileName_.clear();
    if (FileCB->isChecked() && !askFileName()) {
        reject();
        return;
    }
    if (!fileName_.isEmpty() && outputClash(fileName_) != OutputClash::None) {
        refuse(reportText("fileIsDatabase").arg(fileName_));
        fileName_.clear();
        return;
    }
    accept();
}

void TfrxPrintDialog::writeBack()
{
    options_.Copies = frxStrToInt(CopiesE->text());
    options_.Collate = CollateCB->isChecked();
    options_.PageNumbers = AllRB->isChecked()       ? QString()
                           : CurPageRB->isChecked() ? QString::number(currentPage_)
                                                    : PageNumbersE->text();
    options_.PrintPages = TfrxPrintPages(PrintPagesCB->currentIndex());
    options_.Reverse = OrderCB->currentIndex() == 1;
    options_.Duplex = DuplexCB->currentIndex();
    options_.PrintMode = TfrxPrintMode(PrintModeCB->currentIndex());
    options_.PrintOnSheet = PrinterDeviceMode::customPaper;
    for (const PrinterPaper &paper : frxPrinters().Printer().Papers)
        if (paper.name == PagPageSizeCB->currentText())
            options_.PrintOnSheet = paper.code;
}

bool TfrxPrintDialog::Execute()
{
    if (UserDialogs::current().showModal(*this) != ModalResult::Ok) {
        frxPrinters().SetPrinterIndex(openedPrinter_);
        fileName_.clear();
        return false;
    }
    writeBack();
    return true;
}

}  // namespace vornak
