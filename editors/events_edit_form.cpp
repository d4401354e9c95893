#include "editors/events_edit_form.h"

#include "data/data_module.h"
#include "platform/sql_literal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

TEventsEditForm *EventsEditForm = nullptr;

namespace {

const QString statementFileName = QStringLiteral("ADOQuery1.txt");

QComboBox *addList(QWidget *parent, const QString &name, const QRect &geometry, const QStringList &items)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->addItems(items);
    return list;
}

// A stored code without an item shows no selection.
void selectCode(QComboBox *list, int code)
{
    list->setCurrentIndex(code >= 0 && code < list->count() ? code : -1);
}

} // namespace

TEventsEditForm::TEventsEditForm(QWidget *parent)
    : TRecordDialog(QStringLiteral("EventsEditForm"), QSize(285, 199), parent)
{
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Дата выполнения"), {8, 13});
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Пробег выполнения"), {8, 40});
    Label5 = addLabel(QStringLiteral("Label5"), QStringLiteral("Статус"), {8, 70});
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Описание"), {8, 100});
    Label4 = addLabel(QStringLiteral("Label4"), QStringLiteral("Сообщать"), {8, 130});
    addButtons({32, 166}, {139, 166});
    DateTimePicker1 = addDatePicker(QStringLiteral("DateTimePicker1"), {137, 8, 141, 24});
    ComboBoxShowType = addList(this, QStringLiteral("ComboBoxShowType"), {137, 127, 141, 24},
                               {QStringLiteral("по дате "), QStringLiteral("по пробегу")});
    ComboBoxStatus = addList(this, QStringLiteral("ComboBoxStatus"), {137, 67, 141, 24},
                             {QStringLiteral("В процессе"), QStringLiteral("Завершен")});
    EditMileAge = addEdit(QStringLiteral("EditMileAge"), {137, 37, 141, 24});
    EditOpisanie = addEdit(QStringLiteral("EditOpisanie"), {137, 97, 141, 24});
    SetTabOrder({Button1, Button2, DateTimePicker1, ComboBoxShowType, ComboBoxStatus, EditMileAge, EditOpisanie});

    addNumberInput(EditMileAge, Label2->text(), NumberKind::Whole);
}

// An emptied mileage of an edited event is saved as 0.
void TEventsEditForm::BeforeSave()
{
    if (editing_ && EditMileAge->text().trimmed().isEmpty())
        EditMileAge->setText(QStringLiteral("0"));
}

void TEventsEditForm::NewRecord()
{
    editing_ = false;
    SetPickerToday(DateTimePicker1);
    ComboBoxStatus->setCurrentIndex(0);
    ComboBoxShowType->setCurrentIndex(0);
    EditMileAge->setText(QStringLiteral("0"));
    EditOpisanie->clear();
    setWindowTitle(QStringLiteral("Новая "));
    if (!Execute())
        return;

    vornak::TADOQuery *query = DataModule1->ADOQuery1;
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(QStringLiteral("INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )"));
    query->SQL.Add(QStringLiteral("values ( ") + vornak::sql_literal::apostropheText(DateText(DateTimePicker1))
                   + u',' + vornak::sql_literal::integer(DataModule1->TableSprAutoid->AsInteger()) + u','
                   + NumberLiteral(EditMileAge) + u',' + vornak::sql_literal::integer(ComboBoxStatus->currentIndex())
                   + u',' + vornak::sql_literal::integer(ComboBoxShowType->currentIndex()) + u','
                   + vornak::sql_literal::quotedText(EditOpisanie->text()) + u')');
    query->SQL.SaveToFile(statementFileName);
    query->ExecSQL();

    DataModule1->QueryDocEvents->Close();
    DataModule1->QueryDocEvents->Open();
}

void TEventsEditForm::EditRecord()
{
    const QString id = DataModule1->QueryDocEventsid->AsString();
    if (id.isEmpty())
        return;
    editing_ = true;
    SetPickerDate(DateTimePicker1, DataModule1->QueryDocEventsdatedoc->AsDateTime());
    setWindowTitle(QStringLiteral("Редактирование"));
    selectCode(ComboBoxShowType, DataModule1->QueryDocEventsidtype->AsInteger());
    selectCode(ComboBoxStatus, DataModule1->QueryDocEventsENDE->AsInteger());
    EditMileAge->setText(DataModule1->QueryDocEventsmileage->AsString());
    EditOpisanie->setText(DataModule1->QueryDocEventsopisanie->AsString());
    const bool saved = Execute();
    editing_ = false;
    if (!saved)
        return;

    vornak::TADOQuery *query = DataModule1->ADOQuery1;
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(QStringLiteral("UPDATE DOC_EVENTS SET"));
    query->SQL.Add(QStringLiteral("DOC_EVENTS.datedoc = ") + vornak::sql_literal::quotedText(DateText(DateTimePicker1))
                   + u',');
    query->SQL.Add(QStringLiteral("DOC_EVENTS.mileage = ") + NumberLiteral(EditMileAge) + u',');
    query->SQL.Add(QStringLiteral("DOC_EVENTS.ENDE = ") + vornak::sql_literal::integer(ComboBoxStatus->currentIndex())
                   + u',');
    query->SQL.Add(QStringLiteral("DOC_EVENTS.idtype = ")
                   + vornak::sql_literal::integer(ComboBoxShowType->currentIndex()) + u',');
    query->SQL.Add(QStringLiteral("DOC_EVENTS.opisanie = ") + vornak::sql_literal::quotedText(EditOpisanie->text()));
    query->SQL.Add(QStringLiteral("WHERE DOC_EVENTS.id=") + id);
    query->ExecSQL();

    DataModule1->QueryDocEvents->Close();
    DataModule1->QueryDocEvents->Open();
}

void TEventsEditForm::DelRecord()
{
    if (DataModule1->QueryDocEventsid->AsString().isEmpty())
        return;
    if (ConfirmDelete())
        DataModule1->QueryDocEvents->Delete();
}
