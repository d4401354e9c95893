#include "editors/mileage_edit_form.h"

#include "data/data_module.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"

#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace vornak {

TMileageEditForm *MileageEditForm = nullptr;

namespace sql = sql_literal;

TMileageEditForm::TMileageEditForm(QWidget *parent)
    : TRecordDialog(QStringLiteral("MileageEditForm"), QSize(265, 132), parent)
{
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Дата"), {8, 8});
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Общий пробег"), {8, 41});
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Суточный пробег"), {8, 71});
    addButtons({8, 99}, {117, 99});
    DateTimePicker1 = addDatePicker(QStringLiteral("DateTimePicker1"), {117, 8, 141, 24});
    EditObsh = addEdit(QStringLiteral("EditObsh"), {117, 38, 141, 24});
    Edit2 = addEdit(QStringLiteral("Edit2"), {117, 68, 141, 24});
    arrangeTabOrder({Button1, Button2, DateTimePicker1, EditObsh, Edit2});

    addNumberInput(EditObsh, Label2->text(), NumberKind::Whole);
    addNumberInput(Edit2, Label3->text(), NumberKind::Whole);
    EditObsh->installEventFilter(this);
}

bool TMileageEditForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditObsh && event->type() == QEvent::KeyRelease)
        EditObshKeyUp();
    return TRecordDialog::eventFilter(watched, event);
}

void TMileageEditForm::NewRecord()
{
    editedId_.clear();
    setPickerToday(DateTimePicker1);
    EditObsh->clear();
    Edit2->clear();
    setWindowTitle(QStringLiteral("Новый пробег"));
    executeAndSave(DataModule1->QueryDocMileage, [this] {
        DataModule1->scratchStatement({
            QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)"),
            QStringLiteral("values ( ") + sql::apostropheText(dateText(DateTimePicker1)) + u',' +
                sql::integer(DataModule1->TableSprAutoid->AsInteger()) + u',' + numberLiteral(EditObsh) + u',' +
                numberLiteral(Edit2) + u')',
        });
    });
}

void TMileageEditForm::EditRecord()
{
    const QString id = DataModule1->QueryDocMileageid->AsString();
    if (id.isEmpty())
        return;
    editedId_ = id;
    setPickerDate(DateTimePicker1, DataModule1->QueryDocMileagedatedoc->AsDateTime());
    EditObsh->setText(DataModule1->QueryDocMileagetekprobeg->AsString());
    Edit2->setText(DataModule1->QueryDocMileageraznica->AsString());
    setWindowTitle(QStringLiteral("Редактирование пробега"));
    const auto forgetEdited = qScopeGuard([this] { editedId_.clear(); });
    executeAndSave(DataModule1->QueryDocMileage, [this, id] {
        DataModule1->scratchStatement({
            QStringLiteral("UPDATE DOC_MILEAGE SET"),
            dateAssignment(DateTimePicker1, QStringLiteral("DOC_MILEAGE.datedoc")) + u',',
            QStringLiteral("DOC_MILEAGE.tekprobeg = ") + numberLiteral(EditObsh) + u',',
            QStringLiteral("DOC_MILEAGE.raznica = ") + numberLiteral(Edit2),
            QStringLiteral("WHERE DOC_MILEAGE.id=") + id,
        });
    });
}

void TMileageEditForm::DelRecord()
{
    if (DataModule1->QueryDocMileageid->AsString().isEmpty())
        return;
    if (confirmDelete())
        DataModule1->QueryDocMileage->Delete();
}

// The new total minus the highest total among the vehicle's other readings, or minus the
// vehicle's starting reading when it has none. Proposes nothing while the total is not a whole
// number or there is no vehicle.
void TMileageEditForm::EditObshKeyUp()
{
    const QString vehicleId = DataModule1->TableSprAutoid->AsString();
    const auto total = parseInteger(EditObsh->text());
    if (vehicleId.isEmpty() || !total)
        return;

    openAggregate(QStringLiteral("SELECT Count(doc_mileage.id) as cnt"), vehicleId);
    qint64 previous = 0;
    if (DataModule1->ADOQuery1->FieldByName(QStringLiteral("cnt"))->AsInteger() == 0) {
        previous = DataModule1->TableSprAutobeginkm->AsInteger();
    } else {
        openAggregate(QStringLiteral("SELECT Max(doc_mileage.tekprobeg) AS Maxkm"), vehicleId);
        previous = DataModule1->ADOQuery1->FieldByName(QStringLiteral("Maxkm"))->AsInteger();
    }
    Edit2->setText(QString::number(*total - previous));
}

void TMileageEditForm::openAggregate(const QString &selectLine, const QString &vehicleId)
{
    QStringList lines = {selectLine, QStringLiteral("FROM doc_mileage"),
                         QStringLiteral("where doc_mileage.idauto=") + vehicleId};
    if (!editedId_.isEmpty())
        lines.append(QStringLiteral("and not doc_mileage.id = ") + editedId_);
    DataModule1->scratchStatement(lines)->Open();
}

}  // namespace vornak
