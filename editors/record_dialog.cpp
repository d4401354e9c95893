#include "editors/record_dialog.h"

#include "data/data_module.h"
#include "editors/form_controls.h"
#include "editors/short_date_picker.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "platform/number_format.h"
#include "platform/sql_literal.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <optional>

namespace vornak {

namespace {

constexpr QSize buttonSize(93, 25);
// A date picker's property: set while it shows a stored value that names no date.
constexpr const char *keepsStoredDate = "keepsStoredDate";

QString problemText(const QString &caption, const QString &text, TRecordDialog::NumberKind kind)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("Поле \"%1\" не заполнено.").arg(caption);
    const QString what =
        kind == TRecordDialog::NumberKind::Whole ? QStringLiteral("целым числом") : QStringLiteral("числом");
    return QStringLiteral("\"%1\" в поле \"%2\" не является %3.").arg(text, caption, what);
}

std::optional<QString> literalOf(const QString &text, TRecordDialog::NumberKind kind)
{
    if (kind == TRecordDialog::NumberKind::Whole) {
        if (const auto value = parseInteger(text))
            return sql_literal::integer(*value);
    } else if (const auto value = parseFloat(text, /*acceptPoint*/ true)) {
        return sql_literal::number(*value);
    }
    return std::nullopt;
}

}  // namespace

TRecordDialog::TRecordDialog(const QString &name, QSize clientSize, QWidget *parent)
    : QDialog(parent)
{
    form_controls::setUpDialog(this, name.toLatin1().constData(), clientSize.width(), clientSize.height());
}

QLabel *TRecordDialog::addLabel(const QString &name, const QString &text, QPoint position)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->move(position);
    label->adjustSize();
    return label;
}

QLineEdit *TRecordDialog::addEdit(const QString &name, const QRect &geometry)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    return edit;
}

QDateEdit *TRecordDialog::addDatePicker(const QString &name, const QRect &geometry)
{
    QDateEdit *picker = short_date_picker::create(this);
    picker->setObjectName(name);
    picker->setGeometry(geometry);
    connect(picker, &QDateEdit::dateChanged, picker, [picker] { picker->setProperty(keepsStoredDate, false); });
    return picker;
}

void TRecordDialog::addButtons(QPoint savePosition, QPoint cancelPosition)
{
    const auto addButton = [this](const QString &name, const QString &text, QPoint position) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setGeometry(QRect(position, buttonSize));
        button->setAutoDefault(false);  // Enter in an edit closes nothing
        return button;
    };
    Button1 = addButton(QStringLiteral("Button1"), QStringLiteral("Сохранить"), savePosition);
    Button2 = addButton(QStringLiteral("Button2"), QStringLiteral("Отменить"), cancelPosition);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(int(ModalResult::Cancel)); });
}

void TRecordDialog::arrangeTabOrder(std::initializer_list<QWidget *> order)
{
    QWidget *previous = nullptr;
    for (QWidget *widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        else
            firstInTabOrder_ = widget;
        previous = widget;
    }
}

void TRecordDialog::addNumberInput(QLineEdit *edit, const QString &caption, NumberKind kind)
{
    numberInputs_.append({edit, caption, kind});
}

const TRecordDialog::NumberInput *TRecordDialog::findNumberInput(const QLineEdit *edit) const
{
    for (const NumberInput &input : numberInputs_) {
        if (input.edit == edit)
            return &input;
    }
    return nullptr;
}

// The dialog stays open, with what was typed, until every number is one.
void TRecordDialog::Button1Click()
{
    beforeSave();
    for (const NumberInput &input : numberInputs_) {
        const QString text = input.edit->text();
        if (literalOf(text, input.kind))
            continue;
        UserDialogs::current().messageBox(problemText(input.caption, text, input.kind),
                                          QCoreApplication::applicationName(), MessageButtons::Ok,
                                          MessageIcon::Warning);
        input.edit->setFocus();
        input.edit->selectAll();
        return;
    }
    if (prepareSave())
        done(int(ModalResult::Ok));
}

QString TRecordDialog::numberLiteral(const QLineEdit *edit) const
{
    const NumberInput *input = findNumberInput(edit);
    Q_ASSERT(input);
    const auto literal = literalOf(edit->text(), input->kind);
    if (!literal)
        throw ConversionError(problemText(input->caption, edit->text(), input->kind));
    return *literal;
}

bool TRecordDialog::execute()
{
    return UserDialogs::current().showModal(*this) == ModalResult::Ok;
}

bool TRecordDialog::executeAndSave(TADOQuery *list, const std::function<void()> &fillStatement)
{
    while (execute()) {
        if (fillStatement)
            fillStatement();
        try {
            DataModule1->ADOQuery1->ExecSQL();
        } catch (const DatabaseLockedError &) {
            UserDialogs::current().messageBox(form_controls::lockedFileText(), QCoreApplication::applicationName(),
                                              MessageButtons::Ok, MessageIcon::Warning);
            continue;
        }
        list->Close();
        list->Open();
        return true;
    }
    return false;
}

void TRecordDialog::executeAndReopen(TADOQuery *list)
{
    DataModule1->ADOQuery1->ExecSQL();
    list->Close();
    list->Open();
}

QString TRecordDialog::dateText(const QDateEdit *picker)
{
    return date_time::toDateText(date_time::encode(picker->date()));
}

QString TRecordDialog::dateAssignment(const QDateEdit *picker, const QString &column)
{
    const bool keeps = picker->property(keepsStoredDate).toBool();
    return column + QStringLiteral(" = ") + (keeps ? column : sql_literal::quotedText(dateText(picker)));
}

void TRecordDialog::setPickerDate(QDateEdit *picker, double dateTime)
{
    const bool namesADate = date_time::isInRange(dateTime);
    picker->setDate(date_time::datePart(namesADate ? dateTime : 0));
    picker->setProperty(keepsStoredDate, !namesADate);
}

void TRecordDialog::setPickerToday(QDateEdit *picker)
{
    picker->setDate(Clock::current().now().date());
}

bool TRecordDialog::confirmDelete()
{
    // The platform's confirmation box, captioned as every other delete question of the program.
    return UserDialogs::current().messageBox(QStringLiteral("Действительно удалить?"), QStringLiteral("Confirm"),
                                             MessageButtons::YesNo, MessageIcon::Question) == ModalResult::Yes;
}

void TRecordDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (firstInTabOrder_)
        firstInTabOrder_->setFocus();
}

}  // namespace vornak
