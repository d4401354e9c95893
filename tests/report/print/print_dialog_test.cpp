// The print dialog and the progress window, driven with real key and mouse events while the
// print loop waits on them: the dialog's texts and how it opens, choices written back for one
// print, refused page lists, Cancel, the driver's properties, and "Отмена" between pages.

#include "platform/errors.h"
#include "report/print/print_dialog.h"
#include "report/print/print_pictures.h"
#include "report/print/print_windows.h"
#include "report/print/progress.h"
#include "tests/fixtures/key_typing.h"
#include "tests/fixtures/modal_answer.h"
#include "tests/report/print/print_fixture.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QStringList twoPrinters = {QStringLiteral("Recorder"), QStringLiteral("Второй")};

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

// Clicks a check box or radio button on its box (a wide button takes clicks on its text only).
void check(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Replaces the text of `edit` with real keys.
void retype(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    typeText(edit, text);
}

// The print dialog, seen through the print loop: `fill` works in it with real events.
struct DialogPrint : PrintFixture {
    explicit DialogPrint(QStringList printers = twoPrinters)
        : PrintFixture(3, std::move(printers))
    {
        report.PrintOptions.ShowDialog = true;
    }
    void answer(std::function<ModalResult(TfrxPrintDialog &)> fill)
    {
        dialogs.modalAnswers.push_back(
            vornak::testing::answer([fill](QDialog &dialog) { return fill(dynamic_cast<TfrxPrintDialog &>(dialog)); }));
    }
    bool print() { return frxPrint(report, frxPrintWindows(report)); }
};

}  // namespace

TEST(PrintDialog, ShowsItsControlsAndOpensWithThePrintOptions)
{
    DialogPrint f;
    TfrxPrintOptions &options = f.report.PrintOptions;
    options.Copies = 2;
    options.Collate = false;
    options.PageNumbers = QStringLiteral("2-3");
    options.PrintPages = ppOdd;
    options.Reverse = true;
    options.Duplex = dmHorizontal;
    options.PrintMode = pmScale;
    options.PrintOnSheet = 11;
    TfrxPrintDialog dialog(options, 3, 2);

    const std::pair<QWidget *, const char *> texts[] = {
        {dialog.Label12, "Принтер"},
        {dialog.NameL, "Имя:"},
        {dialog.WhereL, "Где:"},
        {dialog.PropButton, "Свойства..."},
        {dialog.FileCB, "Печать в файл"},
        {dialog.Label1, "Страницы"},
        {dialog.AllRB, "Все"},
        {dialog.CurPageRB, "Текущая"},
        {dialog.PageNumbersRB, "Номера:"},
        {dialog.DescrL, "Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12"},
        {dialog.Label2, "Копии"},
        {dialog.CopiesL, "Количество"},
        {dialog.CollateCB, "Разобрать по копиям"},
        {dialog.OtherGB, "Прочее"},
        {dialog.PrintL, "Печатать"},
        {dialog.OrderL, "Порядок"},
        {dialog.DuplexL, "Дуплекс"},
        {dialog.ScaleGB, "Режим печати"},
        {dialog.PagSizeL, "Печатать на листе"},
        {dialog.OkB, "ОК"},
        {dialog.CancelB, "Отмена"},
    };
    for (const auto &[widget, text] : texts) {
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shown = button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            shown = group->title();
        EXPECT_EQ(shown, QString::fromUtf8(text)) << widget->objectName().toStdString();
    }
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Печать"));
    EXPECT_TRUE(dialog.OkB->isDefault());
    EXPECT_EQ(items(dialog.PrintPagesCB), QStringList({"Все страницы", "Нечетные страницы", "Четные страницы"}));
    EXPECT_EQ(items(dialog.OrderCB), QStringList({"Прямой (1-9)", "Обратный (9-1)"}));
    EXPECT_EQ(items(dialog.DuplexCB),
              QStringList({"По умолчанию", "Вертикальный", "Горизонтальный", "Не использовать"}));
    EXPECT_EQ(items(dialog.PrintModeCB), QStringList({"По умолчанию", "Разрезать большие страницы",
                                                      "Объединять маленькие страницы", "Масштабировать"}));
    EXPECT_EQ(items(dialog.PagPageSizeCB), QStringList({"По умолчанию", "Пользовательский", "A4", "A5"}));
    EXPECT_EQ(items(dialog.PrintersCB), twoPrinters);
    EXPECT_EQ(dialog.WhereL1->text(), QStringLiteral("recorder:Recorder"));
    EXPECT_FALSE(dialog.PrintersCB->itemIcon(0).isNull());
    for (int mode = 0; mode < dialog.PrintModeCB->count(); ++mode)
        EXPECT_FALSE(dialog.PrintModeCB->itemIcon(mode).isNull()) << mode;

    // Filled from the options.
    EXPECT_EQ(dialog.CopiesE->text(), QStringLiteral("2"));
    EXPECT_FALSE(dialog.CollateCB->isChecked());
    EXPECT_EQ(dialog.CollateImage->pixmap().toImage(), printPicture(PrintPicture::Uncollated).toImage());
    EXPECT_TRUE(dialog.PageNumbersRB->isChecked());
    EXPECT_EQ(dialog.PageNumbersE->text(), QStringLiteral("2-3"));
    EXPECT_EQ(dialog.PrintPagesCB->currentIndex(), 1);
    EXPECT_EQ(dialog.OrderCB->currentIndex(), 1);
    EXPECT_EQ(dialog.DuplexCB->currentIndex(), 2);
    EXPECT_EQ(dialog.PrintModeCB->currentIndex(), 3);
    EXPECT_EQ(dialog.PagPageSizeCB->currentText(), QStringLiteral("A5"));
    EXPECT_TRUE(dialog.PagPageSizeCB->isEnabled());

    // The collate picture follows the check box.
    showActive(dialog);
    check(dialog.CollateCB);
    EXPECT_EQ(dialog.CollateImage->pixmap().toImage(), printPicture(PrintPicture::Collated).toImage());
    // The up-down steps the copies, never below 1.
    QWidget *down = dialog.UpDown1->findChildren<QWidget *>().value(1);
    ASSERT_NE(down, nullptr);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(dialog.CopiesE->text(), QStringLiteral("1"));
    typeText(dialog.CopiesE, QStringLiteral("x2"));  // digits only
    EXPECT_EQ(dialog.CopiesE->text(), QStringLiteral("12"));
    dialog.hide();
}

// Another printer, two copies not collated, the list "3,1" typed into the edit box (which
// checks "Номера:"): the job goes to that printer, and the choices last for this print only.
TEST(PrintDialog, OkPrintsWithTheChoicesForOnePrint)
{
    DialogPrint f;
    f.answer([](TfrxPrintDialog &dialog) {
        dialog.PrintersCB->setFocus();
        QTest::keyClick(dialog.PrintersCB, Qt::Key_Down);
        EXPECT_EQ(dialog.WhereL1->text(), QStringLiteral("recorder:Второй"));
        retype(dialog.CopiesE, QStringLiteral("2"));
        check(dialog.CollateCB);
        QTest::mouseClick(dialog.PageNumbersE, Qt::LeftButton);
        EXPECT_TRUE(dialog.PageNumbersRB->isChecked());
        typeText(dialog.PageNumbersE, QStringLiteral("3,1"));
        return click(dialog, dialog.OkB);
    });
    ASSERT_TRUE(f.print());
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printers.jobs[0].printer, QStringLiteral("Второй"));
    EXPECT_EQ(f.printed(), (QList<int>{3, 1}));
    EXPECT_EQ(f.copyCounts(), (QList<int>{2, 2}));
    EXPECT_EQ(f.report.PrintOptions.Copies, 1);
    EXPECT_TRUE(f.report.PrintOptions.Collate);
    EXPECT_TRUE(f.report.PrintOptions.PageNumbers.isEmpty());
    // The printer chosen stays current for the rest of the run.
    EXPECT_EQ(frxPrinters().Printer().Name, QStringLiteral("Второй"));

    // "Текущая" with the preview on page 2, odd pages only and reverse order from the lists.
    f.store.CurPreviewPage = 1;
    f.answer([](TfrxPrintDialog &dialog) {
        check(dialog.CurPageRB);
        return click(dialog, dialog.OkB);
    });
    f.answer([](TfrxPrintDialog &dialog) {
        EXPECT_TRUE(dialog.AllRB->isChecked());
        dialog.PrintPagesCB->setFocus();
        QTest::keyClick(dialog.PrintPagesCB, Qt::Key_Down);  // "Нечетные страницы"
        dialog.OrderCB->setFocus();
        QTest::keyClick(dialog.OrderCB, Qt::Key_Down);  // "Обратный (9-1)"
        return click(dialog, dialog.OkB);
    });
    ASSERT_TRUE(f.print());
    ASSERT_TRUE(f.print());
    ASSERT_EQ(f.printers.jobs.size(), 3);
    QList<int> odd;
    for (const RecordedPage &sheet : f.printers.jobs[2].pages)
        odd.append(PrintFixture::markerOf(sheet.image));
    EXPECT_EQ(PrintFixture::markerOf(f.printers.jobs[1].pages.value(0).image), 2);
    EXPECT_EQ(f.printers.jobs[1].pages.size(), 1);
    EXPECT_EQ(odd, (QList<int>{3, 1}));
}

// A page list the loop cannot read or that names no page of the report is refused with a
// message; the dialog stays open with the list selected for correcting.
TEST(PrintDialog, RefusesPageListsThatNameNoPage)
{
    struct Case {
        const char *list;
        const char *message;
    };
    const Case cases[] = {
        {"5-2", "В отчете нет страниц с номерами \"5-2\""},
        {"0", "В отчете нет страниц с номерами \"0\""},
        {"a", "Неверно указаны номера страниц: \"a\". Введите номера и/или диапазоны страниц, разделенные "
              "запятыми. Например, 1,3,5-12"},
        {"1,,3", "Неверно указаны номера страниц: \"1,,3\". Введите номера и/или диапазоны страниц, "
                 "разделенные запятыми. Например, 1,3,5-12"},
    };
    DialogPrint f;
    f.answer([&f, &cases](TfrxPrintDialog &dialog) {
        for (const Case &c : cases) {
            retype(dialog.PageNumbersE, QString::fromUtf8(c.list));
            EXPECT_EQ(click(dialog, dialog.OkB), ModalResult::None) << c.list;
            EXPECT_EQ(f.dialogs.messages.value(0).text, QString::fromUtf8(c.message));
            EXPECT_EQ(f.dialogs.messages.value(0).caption, QStringLiteral("Ошибка"));
            EXPECT_TRUE(dialog.PageNumbersE->hasFocus());
            f.dialogs.messages.clear();
        }
        // Corrected, the list prints.
        retype(dialog.PageNumbersE, QStringLiteral("2-"));
        return click(dialog, dialog.OkB);
    });
    ASSERT_TRUE(f.print());
    EXPECT_EQ(f.printed(), (QList<int>{2, 3}));
}

// Cancel prints nothing and makes the printer current on opening current again; an empty copy
// count ends the command with the conversion error after the dialog closed, nothing printed.
TEST(PrintDialog, CancelOrNoCopiesPrintNothing)
{
    DialogPrint f;
    f.answer([](TfrxPrintDialog &dialog) {
        dialog.PrintersCB->setFocus();
        QTest::keyClick(dialog.PrintersCB, Qt::Key_Down);
        EXPECT_EQ(frxPrinters().Printer().Name, QStringLiteral("Второй"));
        return click(dialog, dialog.CancelB);
    });
    f.answer([](TfrxPrintDialog &dialog) {
        retype(dialog.CopiesE, QString());
        return click(dialog, dialog.OkB);
    });
    EXPECT_FALSE(f.print());
    EXPECT_EQ(frxPrinters().Printer().Name, QStringLiteral("Recorder"));
    EXPECT_THROW(f.print(), ConversionError);
    EXPECT_TRUE(f.printers.jobs.isEmpty());
    EXPECT_TRUE(f.dialogs.modalAnswers.empty());
}

// A duplex chosen in the driver's own dialog shows in the duplex list and is used for the job.
TEST(PrintDialog, PropertiesShowTheDriversDuplex)
{
    DialogPrint f;
    f.printers.propertiesDialog = [](PrinterDeviceMode &mode) {
        mode.duplex = PrinterDeviceMode::Vertical;
        return true;
    };
    f.answer([](TfrxPrintDialog &dialog) {
        QTest::mouseClick(dialog.PropButton, Qt::LeftButton);
        EXPECT_EQ(dialog.DuplexCB->currentText(), QStringLiteral("Вертикальный"));
        return click(dialog, dialog.OkB);
    });
    ASSERT_TRUE(f.print());
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printers.jobs[0].pages.value(0).mode.duplex, int(PrinterDeviceMode::Vertical));
}

// "Печать в файл" asks for the file on OK; the file gets ".prn"; cancelling the question
// cancels printing.
TEST(PrintDialog, PrintToFileAsksForTheFile)
{
    DialogPrint f;
    QString title;
    QStringList filters;
    const auto okWithFile = [](TfrxPrintDialog &dialog) {
        check(dialog.FileCB);
        return click(dialog, dialog.OkB);
    };
    f.answer(okWithFile);
    f.dialogs.modalAnswers.push_back([&](QDialog &dialog) {
        auto &save = dynamic_cast<QFileDialog &>(dialog);
        title = save.windowTitle();
        filters = save.nameFilters();
        save.selectFile(QStringLiteral("/tmp/period.pdf"));
        return ModalResult::Ok;
    });
    f.answer(okWithFile);
    f.dialogs.modalAnswers.push_back([](QDialog &) { return ModalResult::Cancel; });

    ASSERT_TRUE(f.print());
    EXPECT_EQ(title, QStringLiteral("Печать в файл"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Файл печати (*.prn)")});
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printers.jobs[0].fileName, QStringLiteral("/tmp/period.prn"));
    EXPECT_FALSE(f.print());
    EXPECT_EQ(f.printers.jobs.size(), 1);
}

// "Отмена" in the progress window, pressed while page 1 is sent, stops the job before page 2;
// the window that was active is usable again.
TEST(PrintDialog, ProgressCancelStopsBetweenPages)
{
    PrintFixture f(3);
    QWidget owner;
    showActive(owner);
    TfrxPrintEvents events = frxPrintWindows(f.report);
    QString shown;
    bool ownerDisabled = false;
    const auto progress = events.PrintProgress;
    events.PrintProgress = [&](int page, const QString &message) {
        progress(page, message);
        if (page != 1)
            return;
        TfrxProgress *window = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *candidate = qobject_cast<TfrxProgress *>(top); candidate && candidate->isVisible())
                window = candidate;
        ASSERT_NE(window, nullptr);
        shown = window->LMessage->text();
        ownerDisabled = !owner.isEnabled();
        // Pressed while the loop lets events through after the page.
        QTimer::singleShot(0, window->CancelB,
                           [button = window->CancelB] { QTest::mouseClick(button, Qt::LeftButton); });
    };
    ASSERT_TRUE(frxPrint(f.report, events));
    EXPECT_EQ(shown, QStringLiteral("Печатается страница 1"));
    EXPECT_TRUE(ownerDisabled);
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printers.jobs[0].pages.size(), 1);
    EXPECT_TRUE(f.printers.jobs[0].aborted);
    EXPECT_TRUE(owner.isEnabled());
    for (QWidget *top : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TfrxProgress *>(top) && top->isVisible());
}
