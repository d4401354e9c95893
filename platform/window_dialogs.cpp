// The platform's boxes as windows: a QMessageBox with the buttons asked for (its answer mapped back
// to a modal result), a QInputDialog with the length limit on its edit box, and a dialog's own exec.
#include "platform/window_dialogs.h"

#include "platform/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace vornak {

namespace {

struct ButtonRow {
    MessageButtons buttons;
    QMessageBox::StandardButtons standard;
};

constexpr ButtonRow buttonRows[] = {
    {MessageButtons::Ok, QMessageBox::Ok},
    {MessageButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
    {MessageButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
    {MessageButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
};

struct ResultRow {
    QMessageBox::StandardButton standard;
    ModalResult result;
};

constexpr ResultRow resultRows[] = {
    {QMessageBox::Ok, ModalResult::Ok},
    {QMessageBox::Cancel, ModalResult::Cancel},
    {QMessageBox::Yes, ModalResult::Yes},
    {QMessageBox::No, ModalResult::No},
};

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                                  QMessageBox::Critical, QMessageBox::Question};
    return icons[int(icon)];
}

class WindowDialogs final : public UserDialogs {
public:
    ModalResult messageBox(const QString &text, const QString &caption, MessageButtons buttons,
                           MessageIcon icon) override
    {
        QMessageBox box(qtIcon(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
        for (const ButtonRow &row : buttonRows) {
            if (row.buttons == buttons)
                box.setStandardButtons(row.standard);
        }
        const auto pressed = QMessageBox::StandardButton(box.exec());
        for (const ResultRow &row : resultRows) {
            if (row.standard == pressed)
                return row.result;
        }
        return ModalResult::Cancel;
    }

    bool inputQuery(const QString &caption, const QString &prompt, QString &value, int maxLength) override
    {
        QInputDialog box(QApplication::activeWindow());
        box.setWindowTitle(caption);
        box.setLabelText(prompt);
        box.setTextValue(value);
        if (maxLength > 0) {
            if (auto *edit = box.findChild<QLineEdit *>())
                edit->setMaxLength(maxLength);
        }
        if (box.exec() != QDialog::Accepted)
            return false;
        value = box.textValue();
        return true;
    }

    // The system's dialogs close with done(ModalResult); closing the window counts as Cancel.
    ModalResult showModal(QDialog &dialog) override
    {
        const int result = dialog.exec();
        return result == QDialog::Rejected ? ModalResult::Cancel : ModalResult(result);
    }
};

}  // namespace

void useWindowDialogs()
{
    static WindowDialogs dialogs;
    UserDialogs::setPlatformDialogs(&dialogs);
}

}  // namespace vornak
