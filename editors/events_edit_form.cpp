#include "editors/events_edit_form.h"

#include "data/data_module.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/sql_literal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace vornak {

TEventsEditForm *EventsEditForm = nullptr;

namespace sql = sql_literal;

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

}  // namespace

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
    EditOpisanie->setMaxLength(DataModule1->QueryDocEventsopisanie->Size);
    arrangeTabOrder({Button1, Button2, DateTimePicker1, ComboBoxShowType, ComboBoxStatus, EditMileAge, EditOpisanie});

    addNumberInput(EditMileAge, Label2->text(), NumberKind::Whole);
}

// An emptied mileage of an edited event is saved as 0.
void TEventsEditForm::beforeSave()
{
    if (editing_ && EditMileAge->text().trimmed().isEmpty())
        EditMileAge->setText(QStringLiteral("0"));
}

void TEventsEditForm::NewRecord()
{
    editing_ = false;
    setPickerToday(DateTimePicker1);
    ComboBoxStatus->setCurrentIndex(0);
    ComboBoxShowType->setCurrentIndex(0);
    EditMileAge->setText(QStringLiteral("0"));
    EditOpisanie->clear();
    setWindowTitle(QStringLiteral("Новая "));
    // The statement is prepared and written to the statement file when "Сохранить" is pressed.
    executeAndSave(DataModule1->QueryDocEvents);
}

// A new event's statement is written to the statement file before the dialog closes: when the
// file cannot be written, the message is shown and the dialog stays open with what was typed.
bool TEventsEditForm::prepareSave()
{
    if (editing_)
        return true;
    try {
        DataModule1
            ->scratchStatement({
                QStringLiteral("INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )"),
                QStringLiteral("values ( ") + sql::apostropheText(dateText(DateTimePicker1)) + u',' +
                    sql::integer(DataModule1->TableSprAutoid->AsInteger()) + u',' + numberLiteral(EditMileAge) + u',' +
                    sql::integer(ComboBoxStatus->currentIndex()) + u',' +
                    sql::integer(ComboBoxShowType->currentIndex()) + u',' + sql::quotedText(EditOpisanie->text()) +
                    u')',
            })
            ->SQL.SaveToFile(statementFileName);
    } catch (const Error &error) {
        showErrorMessage(error.message());
        return false;
    }
    return true;
}

void TEventsEditForm::EditRecord()
{
    const QString id = DataModule1->QueryDocEventsid->AsString();
    if (id.isEmpty())
        return;
    editing_ = true;
    setPickerDate(DateTimePicker1, DataModule1->QueryDocEventsdatedoc->AsDateTime());
    setWindowTitle(QStringLiteral("Редактирование"));
    selectCode(ComboBoxShowType, DataModule1->QueryDocEventsidtype->AsInteger());
    selectCode(ComboBoxStatus, DataModule1->QueryDocEventsENDE->AsInteger());
    EditMileAge->setText(DataModule1->QueryDocEventsmileage->AsString());
    EditOpisanie->setText(DataModule1->QueryDocEventsopisanie->AsString());
    const auto stopEditing = qScopeGuard([this] { editing_ = false; });
    executeAndSave(DataModule1->QueryDocEvents, [this, id] {
        DataModule1->scratchStatement({
            QStringLiteral("UPDATE DOC_EVENTS SET"),
            dateAssignment(DateTimePicker1, QStringLiteral("DOC_EVENTS.datedoc")) + u',',
            QStringLiteral("DOC_EVENTS.mileage = ") + numberLiteral(EditMileAge) + u',',
            QStringLiteral("DOC_EVENTS.ENDE = ") + sql::integer(ComboBoxStatus->currentIndex()) + u',',
            QStringLiteral("DOC_EVENTS.idtype = ") + sql::integer(ComboBoxShowType->currentIndex()) + u',',
            QStringLiteral("DOC_EVENTS.opisanie = ") + sql::quotedText(EditOpisanie->text()),
            QStringLiteral("WHERE DOC_EVENTS.id=") + id,
        });
    });
}

void TEventsEditForm::DelRecord()
{
    if (DataModule1->QueryDocEventsid->AsString().isEmpty())
        return;
    if (confirmDelete())
        DataModule1->QueryDocEvents->Delete();
}

}  // namespace vornak
