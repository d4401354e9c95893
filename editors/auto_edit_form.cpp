#include "editors/auto_edit_form.h"

#include "data/data_module.h"
#include "data/db_edit.h"
#include "editors/form_controls.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/message_box.h"

#include <cmath>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace vornak {

TAutoEditForm *AutoEditForm = nullptr;

TAutoEditForm::TAutoEditForm(QWidget *parent)
    : QDialog(parent)
{
    form_controls::setUpDialog(this, "AutoEditForm", 273, 135);

    Label1 = form_controls::label(QStringLiteral("Название"), {8, 11}, this, "Label1");
    Label2 = form_controls::label(QStringLiteral("Начальный пробег"), {8, 41}, this, "Label2");
    Label3 = form_controls::label(QStringLiteral("Дата начала учета"), {8, 72}, this, "Label3");

    // The buttons take no focus from a click: leaving an edit box writes its text, and the
    // buttons decide themselves whether to write (Save) or to discard (Cancel).
    Button1 = form_controls::button(QStringLiteral("Сохранить"), {21, 102, 93, 25}, this, "Button1");
    Button1->setFocusPolicy(Qt::TabFocus);
    Button1->setAutoDefault(false);
    Button2 = form_controls::button(QStringLiteral("Отменить"), {124, 102, 93, 25}, this, "Button2");
    Button2->setFocusPolicy(Qt::TabFocus);
    Button2->setAutoDefault(false);

    DBEdit1 = new TDBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setGeometry(124, 8, 141, 24);
    DBEdit2 = new TDBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setGeometry(124, 38, 141, 24);
    DateTimePicker1 = form_controls::datePicker({124, 68, 141, 24}, this, "DateTimePicker1");
    Label1->setBuddy(DBEdit1);
    Label2->setBuddy(DBEdit2);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, DBEdit1);
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DateTimePicker1);

    if (DataModule1) {
        DBEdit1->SetDataSource(DataModule1->SourceSprAuto);
        DBEdit1->SetDataField(QStringLiteral("nameauto"));
        DBEdit2->SetDataSource(DataModule1->SourceSprAuto);
        DBEdit2->SetDataField(QStringLiteral("beginkm"));
    }

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(int(ModalResult::Cancel)); });
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, [this] { DateTimePicker1Change(); });
}

// A stored value that names no date shows as the zero date, as an empty one does; it stays
// stored as it is unless the user picks a date.
void TAutoEditForm::setPicker(double dateTime)
{
    const double day = date_time::isInRange(dateTime) ? std::floor(dateTime) : 0;
    pickerTime_ = date_time::isInRange(dateTime) ? dateTime - day : 0;
    const QSignalBlocker fromCode(DateTimePicker1);
    DateTimePicker1->setDate(date_time::datePart(day));
}

void TAutoEditForm::DateTimePicker1Change()
{
    DataModule1->TableSprAutobegindate->SetAsDateTime(date_time::encode(DateTimePicker1->date()) + pickerTime_);
}

void TAutoEditForm::NewRecord()
{
    DataModule1->TableSprAuto->Insert();
    const double today = date_time::encode(Clock::current().now().date());
    setPicker(today);
    DataModule1->TableSprAutobegindate->SetAsDateTime(today);
    setWindowTitle(QStringLiteral("Новый автомобиль"));
    operation_ = Operation::Insert;
    showAndSave();
}

void TAutoEditForm::EditRecord()
{
    if (DataModule1->TableSprAutoid->AsString().isEmpty())
        return;
    DataModule1->TableSprAuto->Edit();
    setPicker(DataModule1->TableSprAutobegindate->AsDateTime());
    setWindowTitle(QStringLiteral("Редактирование автомобиля"));
    operation_ = Operation::Edit;
    showAndSave();
}

// Every path out of here leaves the vehicles table browsing: saved, or cancelled.
void TAutoEditForm::showAndSave()
{
    TDataSet *table = DataModule1->TableSprAuto;
    try {
        for (;;) {
            const ModalResult result = UserDialogs::current().showModal(*this);
            if (!isEditState(table->State()))
                return;  // saved by the Save button
            if (result != ModalResult::Ok) {
                table->Cancel();
                return;
            }
            if (trySave())
                return;
        }
    } catch (...) {
        if (isEditState(table->State()))
            table->Cancel();
        throw;
    }
}

bool TAutoEditForm::trySave()
{
    TDataSet *table = DataModule1->TableSprAuto;
    try {
        table->UpdateRecord();
        if (operation_ == Operation::Edit && !table->Modified())
            table->Cancel();
        else
            table->Post();
        return true;
    } catch (const DatabaseLockedError &) {
        showErrorMessage(form_controls::lockedFileText());
        return false;
    } catch (const Error &error) {
        showErrorMessage(error.message());
        return false;
    }
}

void TAutoEditForm::Button1Click()
{
    if (trySave())
        done(int(ModalResult::Ok));
}

void TAutoEditForm::showDeleteRefusal()
{
    UserDialogs::current().messageBox(TDataModule1::vehicleDeleteRefusal, QCoreApplication::applicationName(),
                                      MessageButtons::Ok, MessageIcon::None);
}

void TAutoEditForm::DelRecord()
{
    const QString id = DataModule1->TableSprAutoid->AsString();
    if (id.isEmpty())
        return;
    if (DataModule1->vehicleHasEntries(id)) {
        showDeleteRefusal();
        return;
    }
    if (UserDialogs::current().messageBox(QStringLiteral("Действительно удалить?"), QStringLiteral("Confirm"),
                                          MessageButtons::YesNo, MessageIcon::Question) == ModalResult::Yes)
        DataModule1->TableSprAuto->Delete();
}

}  // namespace vornak
