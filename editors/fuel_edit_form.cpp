#include "editors/fuel_edit_form.h"

#include "data/data_module.h"
#include "editors/type_expense_form.h"
#include "platform/sql_literal.h"

#include <QDateEdit>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>

namespace vornak {

TFuelEditForm *FuelEditForm = nullptr;

namespace sql = sql_literal;

namespace {

// A green arrow pointing down on a yellow square, 19 x 19.
QPixmap pickerPicture()
{
    QPixmap picture(19, 19);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x80, 0x80, 0x00));
    painter.setBrush(QColor(0xff, 0xe6, 0x40));
    painter.drawRect(QRectF(1.5, 1.5, 16, 16));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x90, 0x20));
    painter.drawRect(QRectF(7.5, 4, 4, 6));
    const QPointF head[] = {{4.5, 9.5}, {14.5, 9.5}, {9.5, 15}};
    painter.drawPolygon(head, 3);
    return picture;
}

// Quantity and amount of an edited expense are saved as 0 when emptied.
void zeroWhenEmpty(QLineEdit *edit)
{
    if (edit->text().trimmed().isEmpty())
        edit->setText(QStringLiteral("0"));
}

}  // namespace

TFuelEditForm::TFuelEditForm(QWidget *parent)
    : TRecordDialog(QStringLiteral("FuelEditForm"), QSize(251, 200), parent)
{
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Дата"), {56, 8});
    Label5 = addLabel(QStringLiteral("Label5"), QStringLiteral("Тип расходов"), {5, 42});
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Количество"), {17, 72});
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Сумма"), {48, 102});
    Label4 = addLabel(QStringLiteral("Label4"), QStringLiteral("Описание"), {28, 132});
    DateTimePicker1 = addDatePicker(QStringLiteral("DateTimePicker1"), {100, 8, 141, 24});
    addButtons({17, 167}, {119, 167});
    Edit1 = new TTagEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(100, 39, 112, 24);
    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(214, 39, 27, 24);
    BitBtn1->setIcon(pickerPicture());
    BitBtn1->setIconSize(QSize(19, 19));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    EditKolvo = addEdit(QStringLiteral("EditKolvo"), {100, 69, 141, 24});
    EditSumma = addEdit(QStringLiteral("EditSumma"), {100, 99, 141, 24});
    EditOpisanie = addEdit(QStringLiteral("EditOpisanie"), {100, 129, 141, 24});
    EditOpisanie->setMaxLength(DataModule1->QueryDocExpenseOPISANIE->Size);
    arrangeTabOrder({DateTimePicker1, Button1, Button2, Edit1, BitBtn1, EditKolvo, EditSumma, EditOpisanie});

    addNumberInput(EditKolvo, Label3->text(), NumberKind::Real);
    addNumberInput(EditSumma, Label2->text(), NumberKind::Real);
}

void TFuelEditForm::beforeSave()
{
    if (!editing_)
        return;
    zeroWhenEmpty(EditKolvo);
    zeroWhenEmpty(EditSumma);
}

void TFuelEditForm::NewRecord()
{
    editing_ = false;
    setPickerToday(DateTimePicker1);
    Edit1->clear();
    Edit1->Tag = 0;
    EditKolvo->setText(QStringLiteral("0"));
    EditSumma->setText(QStringLiteral("0"));
    EditOpisanie->clear();
    setWindowTitle(QStringLiteral("Новая запись"));
    executeAndSave(DataModule1->QueryDocExpense, [this] {
        DataModule1->scratchStatement({
            QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )"),
            QStringLiteral("values ( ") + sql::apostropheText(dateText(DateTimePicker1)) + u',' +
                sql::integer(DataModule1->TableSprAutoid->AsInteger()) + u',' + numberLiteral(EditKolvo) + u',' +
                numberLiteral(EditSumma) + u',' + sql::integer(Edit1->Tag) + u',' +
                sql::quotedText(EditOpisanie->text()) + u')',
        });
    });
}

void TFuelEditForm::EditRecord()
{
    const QString id = DataModule1->QueryDocExpenseID->AsString();
    if (id.isEmpty())
        return;
    editing_ = true;
    setPickerDate(DateTimePicker1, DataModule1->QueryDocExpenseDATEDOC->AsDateTime());
    Edit1->setText(DataModule1->QueryDocExpensetypename->AsString());
    Edit1->Tag = DataModule1->QueryDocExpenseIDTYPE->AsInteger();
    EditKolvo->setText(DataModule1->QueryDocExpenseKOLVO->AsString());
    EditSumma->setText(DataModule1->QueryDocExpenseSUMMA->AsString());
    EditOpisanie->setText(DataModule1->QueryDocExpenseOPISANIE->AsString());
    setWindowTitle(QStringLiteral("Редактирование записи"));
    const auto stopEditing = qScopeGuard([this] { editing_ = false; });
    executeAndSave(DataModule1->QueryDocExpense, [this, id] {
        DataModule1->scratchStatement({
            QStringLiteral("UPDATE DOC_EXPENSE SET"),
            dateAssignment(DateTimePicker1, QStringLiteral("DOC_EXPENSE.datedoc")) + u',',
            QStringLiteral("DOC_EXPENSE.KOLVO = ") + numberLiteral(EditKolvo) + u',',
            QStringLiteral("DOC_EXPENSE.SUMMA = ") + numberLiteral(EditSumma) + u',',
            QStringLiteral("DOC_EXPENSE.idtype = ") + sql::integer(Edit1->Tag) + u',',
            QStringLiteral("DOC_EXPENSE.opisanie = ") + sql::quotedText(EditOpisanie->text()),
            QStringLiteral("WHERE DOC_EXPENSE.id=") + id,
        });
    });
}

void TFuelEditForm::DelRecord()
{
    const QString id = DataModule1->QueryDocExpenseID->AsString();
    if (id.isEmpty())
        return;
    if (!confirmDelete())
        return;

    DataModule1->scratchStatement({
        QStringLiteral("DELETE DOC_EXPENSE.ID"),
        QStringLiteral("FROM DOC_EXPENSE"),
        QStringLiteral("WHERE DOC_EXPENSE.ID=") + id,
    });
    executeAndReopen(DataModule1->QueryDocExpense);
}

// Without a pick the dialog takes the type of the entry current in the expense list.
void TFuelEditForm::BitBtn1Click()
{
    int id = DataModule1->QueryDocExpenseIDTYPE->AsInteger();
    QString name = DataModule1->QueryDocExpensetypename->AsString();
    TYPE_EXPENSEForm->SelectType(id, name);
    Edit1->Tag = id;
    Edit1->setText(name);
}

}  // namespace vornak
