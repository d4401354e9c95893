#pragma once

// The print dialog: the printer (with its port, its driver's properties and printing into a
// file), the pages, the copies, odd or even pages, order, duplex, and the print mode with its
// sheet. It is filled from the report's print options and writes its choices back on OK.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vornak {

struct TfrxPrintOptions;

class TfrxPrintDialog : public QDialog {
    Q_OBJECT
public:
    // `pageCount` and `currentPage` (1-based) are the prepared report's; the page list is
    // checked against them on OK.
    TfrxPrintDialog(TfrxPrintOptions &options, int pageCount, int currentPage, QWidget *parent = nullptr);
    ~TfrxPrintDialog() override;

    // Shows the dialog modally; true when it was closed with OK and its choices were written
    // back. Any other close makes the printer current when it opened current again.
    bool Execute();
    // The file chosen for "Печать в файл" (with the extension ".prn"); empty otherwise. A file that
    // is a database (platform/output_path.h) is refused with a message, and the dialog stays open.
    QString FileName() const { return fileName_; }

    QGroupBox *Label12;
    QLabel *NameL;
    QComboBox *PrintersCB;
    QLabel *WhereL;
    QLabel *WhereL1;
    QPushButton *PropButton;
    QCheckBox *FileCB;
    QGroupBox *Label1;
    QRadioButton *AllRB;
    QRadioButton *CurPageRB;
    QRadioButton *PageNumbersRB;
    QLineEdit *PageNumbersE;
    QLabel *DescrL;
    QGroupBox *Label2;
    QLabel *CopiesL;
    QLineEdit *CopiesE;
    QWidget *UpDown1;
    QCheckBox *CollateCB;
    QLabel *CollateImage;
    QGroupBox *OtherGB;
    QLabel *PrintL;
    QComboBox *PrintPagesCB;
    QLabel *OrderL;
    QComboBox *OrderCB;
    QLabel *DuplexL;
    QComboBox *DuplexCB;
    QGroupBox *ScaleGB;
    QComboBox *PrintModeCB;
    QLabel *PagSizeL;
    QComboBox *PagPageSizeCB;
    QPushButton *OkB;
    QPushButton *CancelB;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPrinterGroup();
    void createPagesGroup();
    void createCopiesGroup();
    void createOtherGroup();
    void createModeGroup();
    void fill();
    void printerChanged();
    void showDuplex();
    void modeChanged();
    void stepCopies(int step);
    void OkBClick();
    // The page list is one the print loop can read and names a page of the report; otherwise
    // the user is told and the edit box gets the focus.
    bool pageListAccepted();
    bool askFileName();
    void writeBack();

    TfrxPrintOptions &options_;
    int pageCount_;
    int currentPage_;
    int openedPrinter_;
    QString fileName_;
};

}  // namespace vornak
