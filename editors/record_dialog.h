#pragma once

#include <QDialog>
#include <QList>
#include <QPushButton>
#include <QString>

#include <functional>

#include <initializer_list>

class QDateEdit;
class QLabel;
class QLineEdit;

namespace vornak {

class TADOQuery;

// What the entry dialogs share: the window (fixed client size, "Tahoma" 13 px, centred over the
// main window when shown), the "Сохранить" and "Отменить" buttons, and the check of the typed
// numbers that "Сохранить" makes before it closes the dialog.
class TRecordDialog : public QDialog {
    Q_OBJECT
public:
    enum class NumberKind { Whole, Real };

    QPushButton *Button1 = nullptr;  // "Сохранить"
    QPushButton *Button2 = nullptr;  // "Отменить"

protected:
    TRecordDialog(const QString &name, QSize clientSize, QWidget *parent);

    QLabel *addLabel(const QString &name, const QString &text, QPoint position);
    QLineEdit *addEdit(const QString &name, const QRect &geometry);
    QDateEdit *addDatePicker(const QString &name, const QRect &geometry);
    // Button1 "Сохранить" (checks the typed numbers, then closes with OK) and Button2
    // "Отменить" (closes with Cancel), 93 x 25 each.
    void addButtons(QPoint savePosition, QPoint cancelPosition);
    // The tab order, first to last; the first control takes the focus when the dialog is shown.
    void arrangeTabOrder(std::initializer_list<QWidget *> order);

    // A number typed into `edit`, checked at "Сохранить" under the field's caption.
    void addNumberInput(QLineEdit *edit, const QString &caption, NumberKind kind);
    // Runs at "Сохранить" before the numbers are checked.
    virtual void beforeSave() {}
    // Runs at "Сохранить" once the numbers are checked; false keeps the dialog open with what
    // was typed.
    virtual bool prepareSave() { return true; }

    // Shows the dialog modally; true when it closed with OK.
    bool execute();

    // The typed number of a checked edit as a literal of the dialect. Raises ConversionError
    // when the text is not a number of the field's kind.
    QString numberLiteral(const QLineEdit *edit) const;

    // Shows the dialog until what was typed is written or the user cancels. Each time it closes
    // with OK, `fillStatement` (when given) puts the statement into the scratch query, which is
    // executed; then `list` is closed and reopened to show the change. While another process
    // keeps the file locked longer than the engine waits, the user is told so and the dialog
    // shows again with what was typed. True when written.
    bool executeAndSave(TADOQuery *list, const std::function<void()> &fillStatement = {});
    // Executes the scratch query's statement, then closes and reopens `list` to show the change.
    static void executeAndReopen(TADOQuery *list);

    // The date picker's date as text in the regional short date format.
    static QString dateText(const QDateEdit *picker);
    // "COLUMN = 'date'" for an UPDATE statement; "COLUMN = COLUMN" while the picker keeps a
    // stored value that names no date (nothing the user did not edit is changed).
    static QString dateAssignment(const QDateEdit *picker, const QString &column);
    // Shows a stored date; one that names no date shows as the zero date, and the picker keeps
    // the stored value until the user picks a date.
    static void setPickerDate(QDateEdit *picker, double dateTime);
    static void setPickerToday(QDateEdit *picker);
    // "Действительно удалить?" with Yes and No; true for Yes.
    static bool confirmDelete();

    void showEvent(QShowEvent *event) override;

private:
    struct NumberInput {
        QLineEdit *edit;
        QString caption;
        NumberKind kind;
    };

    void Button1Click();
    const NumberInput *findNumberInput(const QLineEdit *edit) const;

    QList<NumberInput> numberInputs_;
    QWidget *firstInTabOrder_ = nullptr;
};

}  // namespace vornak
