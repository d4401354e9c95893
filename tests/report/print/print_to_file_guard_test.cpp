// "Печать в файл" never writes into a database: a file that is the log book open here (through a
// link with the print file's name) is refused with a message, and the dialog stays open for
// another choice.
#include "report/print/print_dialog.h"
#include "report/print/print_windows.h"
#include "tests/fixtures/modal_answer.h"
#include "tests/fixtures/temp_database.h"
#include "tests/report/print/print_fixture.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>

using namespace vornak;
using namespace vornak::testing;

TEST(PrintToFile, TheLogBookIsRefusedAndTheDialogStaysOpen)
{
    TempDatabase file;
    const auto logBook = file.open();
    const QString prn = file.folder() + QStringLiteral("/card.prn");
    ASSERT_TRUE(QFile::link(file.path(), prn));
    const QByteArray before = fileContents(file.path());

    PrintFixture f;
    f.report.PrintOptions.ShowDialog = true;
    const auto toggle = [](QCheckBox *box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    };
    f.dialogs.modalAnswers.push_back(answer([&](QDialog &shown) {
        auto &dialog = dynamic_cast<TfrxPrintDialog &>(shown);
        toggle(dialog.FileCB);
        EXPECT_EQ(click(dialog, dialog.OkB), ModalResult::None) << "closed on a refused file";
        toggle(dialog.FileCB);
        return click(dialog, dialog.OkB);
    }));
    f.dialogs.modalAnswers.push_back([&](QDialog &save) {
        dynamic_cast<QFileDialog &>(save).selectFile(prn);
        return ModalResult::Ok;
    });

    ASSERT_TRUE(frxPrint(f.report, frxPrintWindows(f.report)));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("Файл \"%1\" - это база данных программы. Запись в него уничтожит данные; выберите "
                             "другой файл.")
                  .arg(prn));
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printers.jobs[0].fileName, QString()) << "printed on the printer after the second OK";
    EXPECT_EQ(fileContents(file.path()), before);
}
