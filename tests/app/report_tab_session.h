#pragma once

// The report tab on a log book of known readings and expenses, with the report's printing and
// the tests' own print queue: what the report tab's tests share.

#include "report/engine/report_preparation.h"
#include "report/model/custom_memo_view.h"
#include "report/model/custom_preview.h"
#include "report/model/custom_preview_pages.h"
#include "report/model/report.h"
#include "report/model/report_page.h"
#include "report/preview/preview.h"
#include "report/print/print_dialog.h"
#include "report/print/printer.h"
#include "tests/app/main_window_session.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace vornak::testing {

inline QString reading(const char *date, int vehicle, int distance)
{
    return QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto, tekprobeg, raznica) VALUES ('%1', %2, 0, %3)")
        .arg(QLatin1String(date))
        .arg(vehicle)
        .arg(distance);
}

inline QString expense(const char *date, int vehicle, int type, const char *sum)
{
    return QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                          "VALUES (%1, %2, '%3', 1, %4, '')")
        .arg(type)
        .arg(vehicle)
        .arg(QLatin1String(date))
        .arg(QLatin1String(sum));
}

inline QString expenseType(const char *name)
{
    return QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('%1')").arg(QString::fromUtf8(name));
}

// Нива (1) and Волга (2); the report period is November 2011. Нива: 100 km before it, 20 on its
// first day, 30 inside, 40 on its last day, 1000 after. Волга: 7 km inside only. Types:
// Бензин 500 + 250.5 in the period; Аренда 100; Мойка +300 −300 (sums to 0); Штраф before the
// period only; Ремонт after it only; Волга's petrol belongs to Волга.
inline const QStringList logBook = {
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Нива', 0, '01.01.2011')"),
    QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Волга', 0, '01.01.2011')"),
    reading("31.10.2011", 1, 100),
    reading("01.11.2011", 1, 20),
    reading("15.11.2011", 1, 30),
    reading("30.11.2011", 1, 40),
    reading("01.12.2011", 1, 1000),
    reading("10.11.2011", 2, 7),
    expenseType("Бензин"),
    expenseType("Мойка"),
    expenseType("Штраф"),
    expenseType("Ремонт"),
    expenseType("Аренда"),
    expense("01.11.2011", 1, 1, "500"),
    expense("30.11.2011", 1, 1, "250.5"),
    expense("15.11.2011", 1, 2, "300"),
    expense("16.11.2011", 1, 2, "-300"),
    expense("31.10.2011", 1, 3, "77"),
    expense("01.12.2011", 1, 4, "9999"),
    expense("20.11.2011", 1, 5, "100"),
    expense("15.11.2011", 2, 1, "111"),
};

// A preview control as the report sees one: Init takes the report, RefreshReport prepares it again.
struct RefreshingPreview : TfrxCustomPreview {
    TfrxReport *shown = nullptr;
    int refreshes = 0;
    QString Name() const override { return QStringLiteral("frxPreview1"); }
    void Init(TfrxReport &report, TfrxCustomPreviewPages &) override { shown = &report; }
    void RefreshReport() override
    {
        ++refreshes;
        if (shown)
            PrepareReport(*shown, true);
    }
};

struct ReportTab : MainWindowSession {
    TMainForm &form = *MainForm;
    RefreshingPreview preview;
    TfrxCustomPreview *const formPreview = form.frxReport1->Preview();
    int prints = 0;
    std::function<bool(TfrxReport &)> realPrint;  // printing as the window does it

    explicit ReportTab(const QStringList &setup = logBook)
        : MainWindowSession(setup)
    {
        form.frxReport1->SetPreview(&preview);
        realPrint = form.frxReport1->PrintPages;
        form.frxReport1->PrintPages = [this](TfrxReport &) { return ++prints, true; };
        form.PageControl1->setCurrentWidget(form.TabSheet5);
        form.DateTimePicker1->setDate(QDate(2011, 11, 1));
        form.DateTimePicker2->setDate(QDate(2011, 11, 30));
    }
    // The stand-in preview is gone before the window (members go before the base) and the report
    // calls on its preview when it goes: the report gets the form's own preview back.
    ~ReportTab() { form.frxReport1->SetPreview(formPreview); }

    // Clicks a report button and lets the report's 50-millisecond timer prepare the report.
    void press(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        for (int i = 0; i < 200 && form.frxReport1->Timer()->isActive(); ++i)
            QTest::qWait(5);
    }

    // The texts of the prepared pages, loose objects and band by band, multi-line texts joined by "|".
    QStringList texts() const
    {
        QStringList found;
        for (int index = 0; index < form.frxReport1->PreviewPages()->Count(); ++index)
            found += pageTexts(index);
        return found;
    }
    QStringList pageTexts(int index) const
    {
        QStringList found;
        for (TfrxComponent *object : form.frxReport1->PreviewPages()->PageAt(index)->Objects()) {
            QList<TfrxComponent *> views = object->Objects();
            views.prepend(object);
            for (TfrxComponent *view : views)
                if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(view))
                    found << memo->Memo().join(QLatin1Char('|'));
        }
        return found;
    }

    int expenseRows() const { return rows(QStringLiteral("select id from DOC_EXPENSE")).size(); }
};

// The log book with `types` more expense types of Нива in the period, one row each: 60 make the
// report two pages long, 100 three.
inline QStringList longLogBook(int types)
{
    QStringList book = logBook;
    for (int type = 6; type < 6 + types; ++type) {
        book << QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES ('Запчасть №%1')").arg(type);
        book << expense("10.11.2011", 1, type, "12.25");
    }
    return book;
}

// The words of a text, sorted: the PDF's text comes out in reading order, the pages' texts in
// band order.
inline QStringList sortedWords(const QString &text)
{
    QStringList words = text.split(QRegularExpression(QStringLiteral("[\\s|]+")), Qt::SkipEmptyParts);
    words.sort();
    return words;
}

// The private print queue scripts/test starts (its name and the PDF file its jobs end in).
struct TestQueue {
    QString name = qEnvironmentVariable("VORNAK_TEST_PRINTER");
    QString output = qEnvironmentVariable("VORNAK_TEST_PRINTER_OUT");
};

inline QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page count of the complete PDF at `path`, waiting for it at most 60 s; -1 when none came.
inline int waitForPdfPages(const QString &path)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000) {
        if (QFileInfo(path).size() > 0) {
            const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                                      .match(runTool(QStringLiteral("pdfinfo"), {path}));
            if (pages.hasMatch())
                return pages.captured(1).toInt();
        }
        QTest::qWait(50);
    }
    return -1;
}

// The report tab printing as the window does, on the platform's printers (the test queue).
struct PrintingTab : ReportTab {
    // `prepared`: "Сформировать" pressed once.
    explicit PrintingTab(const QStringList &setup = logBook, bool prepared = true)
        : ReportTab(setup)
    {
        frxResetPrinters();
        form.frxReport1->SetPreview(form.frxPreview1);
        form.frxReport1->PrintPages = realPrint;
        if (prepared)
            press(form.Button3);
    }
    ~PrintingTab() { frxResetPrinters(); }

    // The next print dialog is answered by `fill` with real events.
    void answerPrint(std::function<ModalResult(TfrxPrintDialog &)> fill)
    {
        dialogs.modalAnswers.push_back(
            answer([fill](QDialog &dialog) { return fill(dynamic_cast<TfrxPrintDialog &>(dialog)); }));
    }
    // Presses "Печать", the dialog answered by `fill`.
    void print(std::function<ModalResult(TfrxPrintDialog &)> fill)
    {
        answerPrint(std::move(fill));
        press(form.Button5);
    }

    // The preview shows pages again (a locked preview is all background).
    bool previewShowsPages() const
    {
        const QImage shot = form.frxPreview1->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == qRgb(255, 255, 255))
                    return true;
        return false;
    }
};

// Chooses `name` in the dialog's printer list with the keyboard.
inline void choosePrinter(TfrxPrintDialog &dialog, const QString &name)
{
    dialog.PrintersCB->setFocus();
    QTest::keyClick(dialog.PrintersCB, Qt::Key_Home);
    for (int i = 0; i < dialog.PrintersCB->count() && dialog.PrintersCB->currentText() != name; ++i)
        QTest::keyClick(dialog.PrintersCB, Qt::Key_Down);
    EXPECT_EQ(dialog.PrintersCB->currentText(), name);
}

}  // namespace vornak::testing
