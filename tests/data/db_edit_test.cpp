#include "data/data_module.h"
#include "data/db_edit.h"
#include "platform/errors.h"
#include "tests/fixtures/key_typing.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace vornak;
using namespace vornak::testing;

namespace {

// The vehicle "Нива" (starting mileage 1000) with a name box, a mileage box and a plain edit
// to move the focus to, in an active window.
struct VehicleBoxes {
    TempDatabase file;
    ScopedWorkingDirectory cwd{file.folder()};
    ScriptedDialogs dialogs;
    std::unique_ptr<TDataModule1> module;
    QWidget window;
    TDBEdit *name = new TDBEdit(&window);
    TDBEdit *mileage = new TDBEdit(&window);
    QLineEdit *other = new QLineEdit(&window);

    VehicleBoxes()
    {
        file.open()->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES ('Нива', 1000)"));
        module = std::make_unique<TDataModule1>();
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *widget :
             {static_cast<QWidget *>(name), static_cast<QWidget *>(mileage), static_cast<QWidget *>(other)})
            layout->addWidget(widget);
        name->SetDataSource(module->SourceSprAuto);
        name->SetDataField(QStringLiteral("nameauto"));
        mileage->SetDataSource(module->SourceSprAuto);
        mileage->SetDataField(QStringLiteral("beginkm"));
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }

    TDataSet *table() const { return module->TableSprAuto; }
    QString stored() const
    {
        auto result = file.open()->query(QStringLiteral("select nameauto, beginkm from SPR_AUTO"));
        return result->value(0, 0).toString() + QLatin1Char('|') + result->value(0, 1).toString();
    }
    void leave() { other->setFocus(Qt::TabFocusReason); }
};

void retype(TDBEdit *box, const QString &text)
{
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    typeText(box, text);
}

}  // namespace

TEST(DBEdit, ShowsTheFieldAndWritesOnlyWhenLeft)
{
    VehicleBoxes boxes;
    EXPECT_EQ(boxes.name->text(), QStringLiteral("Нива"));
    EXPECT_EQ(boxes.mileage->text(), QStringLiteral("1000"));

    retype(boxes.name, QStringLiteral("Нива 4x4"));
    EXPECT_EQ(boxes.table()->State(), dsEdit);  // typing put the table into edit state
    EXPECT_TRUE(boxes.name->DataLink().Modified());
    EXPECT_EQ(boxes.module->TableSprAutonameauto->AsString(), QStringLiteral("Нива"));

    boxes.leave();
    EXPECT_FALSE(boxes.name->DataLink().Modified());
    EXPECT_EQ(boxes.module->TableSprAutonameauto->AsString(), QStringLiteral("Нива 4x4"));
    EXPECT_EQ(boxes.stored(), QStringLiteral("Нива|1000"));  // nothing in the file before Post
    boxes.table()->Post();
    EXPECT_EQ(boxes.stored(), QStringLiteral("Нива 4x4|1000"));
}

TEST(DBEdit, IntegerBoxDropsLettersAcceptsSignsAndRefusesABadNumberWhenLeft)
{
    VehicleBoxes boxes;
    boxes.mileage->setFocus(Qt::TabFocusReason);
    boxes.mileage->selectAll();
    typeText(boxes.mileage, QStringLiteral("x"));
    EXPECT_EQ(boxes.mileage->text(), QStringLiteral("1000"));
    EXPECT_EQ(boxes.table()->State(), dsBrowse);  // a refused character does not start editing

    typeText(boxes.mileage, QStringLiteral("-a-"));
    EXPECT_EQ(boxes.mileage->text(), QStringLiteral("--"));
    boxes.leave();
    ASSERT_EQ(boxes.dialogs.messages.size(), 1);
    EXPECT_EQ(boxes.dialogs.messages[0].text,
              QStringLiteral("'--' is not a valid integer value for field 'Начальный пробег'"));
    EXPECT_TRUE(boxes.mileage->hasFocus());
    EXPECT_EQ(boxes.mileage->selectedText(), QStringLiteral("--"));
    EXPECT_EQ(boxes.module->TableSprAutobeginkm->AsString(), QStringLiteral("1000"));
    EXPECT_TRUE(boxes.mileage->DataLink().Modified());

    // Posting with the refused text still pending writes nothing and keeps the edit.
    EXPECT_THROW(boxes.table()->Post(), ConversionError);
    EXPECT_EQ(boxes.table()->State(), dsEdit);
    EXPECT_EQ(boxes.stored(), QStringLiteral("Нива|1000"));

    // Esc brings the field's text back, selected.
    QTest::keyClick(boxes.mileage, Qt::Key_Escape);
    EXPECT_EQ(boxes.mileage->text(), QStringLiteral("1000"));
    EXPECT_EQ(boxes.mileage->selectedText(), QStringLiteral("1000"));
    EXPECT_FALSE(boxes.mileage->DataLink().Modified());
    retype(boxes.mileage, QStringLiteral("-250"));
    boxes.leave();
    EXPECT_EQ(boxes.module->TableSprAutobeginkm->AsInteger(), -250);
}

TEST(DBEdit, NameBoxTakesTheFieldSizeAsLimit)
{
    VehicleBoxes boxes;
    EXPECT_EQ(boxes.name->maxLength(), 255);
    EXPECT_EQ(boxes.mileage->maxLength(), 32767);
    retype(boxes.name, QString(300, QLatin1Char('a')));
    EXPECT_EQ(boxes.name->text().size(), 255);
}

TEST(DBEdit, ClosedDataSetLeavesTheBoxesEmptyAndUnchangeable)
{
    VehicleBoxes boxes;
    boxes.table()->Close();
    EXPECT_EQ(boxes.name->text(), QString());
    EXPECT_EQ(boxes.mileage->text(), QString());
    retype(boxes.name, QStringLiteral("abc"));
    QTest::keyClick(boxes.name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(boxes.name->text(), QString());
    boxes.leave();
    EXPECT_TRUE(boxes.dialogs.messages.isEmpty());
    boxes.table()->Open();
    EXPECT_EQ(boxes.name->text(), QStringLiteral("Нива"));
}

TEST(DBEdit, PostWritesThePendingTextOfABoxStillFocused)
{
    VehicleBoxes boxes;
    retype(boxes.mileage, QStringLiteral("1500"));
    boxes.table()->Post();
    EXPECT_EQ(boxes.stored(), QStringLiteral("Нива|1500"));
    EXPECT_EQ(boxes.mileage->text(), QStringLiteral("1500"));
    EXPECT_FALSE(boxes.mileage->DataLink().Modified());
}
