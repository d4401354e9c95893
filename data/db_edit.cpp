#include "data/db_edit.h"

#include "data/data_set.h"
#include "data/field.h"
#include "data/field_kinds.h"
#include "platform/errors.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace vornak {

namespace {

constexpr int unlimitedLength = 32767;

// Keys that change the box's text besides printable characters.
bool isEditingKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Insert:
        return modifiers == Qt::ShiftModifier;
    default:
        return event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut) ||
               event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo);
    }
}

bool isPrintable(const QString &text)
{
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent)
{
    link_.OnDataChange = [this] { DataChange(); };
    link_.OnUpdateData = [this] { UpdateData(); };
    link_.OnActiveChange = [this] { UpdateMaxLength(); };
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textEdited, this, [this] { TextEdited(); });
}

void TDBEdit::SetMaxLength(int length)
{
    maxLength_ = length;
    UpdateMaxLength();
}

void TDBEdit::UpdateMaxLength()
{
    int length = maxLength_;
    if (length == 0) {
        const TField *field = link_.Field();
        length = dynamic_cast<const TStringField *>(field) ? field->Size : unlimitedLength;
    }
    if (length != maxLength())  // setting it again would drop the selection
        setMaxLength(length);
}

bool TDBEdit::CanShowEditText() const
{
    return hasFocus() && link_.CanModify();
}

// Reloads the text from the field: its edit text while the box has the focus and may change
// it, its display text otherwise; empty while there is no field.
// An unchanged text is left alone, so a selection made before typing survives the reload that
// starting the edit causes.
void TDBEdit::DataChange()
{
    UpdateMaxLength();
    const TField *field = link_.Field();
    const QString shown = !field ? QString() : CanShowEditText() ? field->Text() : field->DisplayText();
    if (shown != text())
        setText(shown);
}

void TDBEdit::UpdateData()
{
    try {
        link_.Field()->SetText(text());
    } catch (const Error &) {
        selectAll();
        setFocus(Qt::OtherFocusReason);
        throw;
    }
}

bool TDBEdit::AskToEdit()
{
    return link_.Edit();
}

// Text changed by the user in a way no key handler saw (a paste from the context menu): the
// same rule as a key, else the field's text comes back.
void TDBEdit::TextEdited()
{
    if (!link_.Editing() && !AskToEdit()) {
        link_.Reset();
        return;
    }
    link_.SetModified();
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        link_.Reset();
        selectAll();
        event->accept();
        return;
    }
    const bool printable = isPrintable(event->text()) && !(event->modifiers() & Qt::ControlModifier);
    if (printable) {
        const TField *field = link_.Field();
        if (field && !field->IsValidChar(event->text().at(0))) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    if ((printable || isEditingKey(*event)) && !AskToEdit()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && !AskToEdit()) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    if (!link_.Modified())
        DataChange();
    QLineEdit::focusInEvent(event);
}

// Leaving the box for another control writes a pending text. A refused text is shown by the
// default error box; the box keeps its text selected and takes the focus back. Losing the
// focus to another window (a message box, a popup) writes nothing.
void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    try {
        link_.UpdateRecord();
    } catch (const Error &error) {
        showErrorMessage(error.message());
        return;
    }
    if (!link_.Modified())
        DataChange();
}

}  // namespace vornak
