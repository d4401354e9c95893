#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QDateEdit;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace vornak {

// Controls of the system's windows placed at their design positions.
namespace form_controls {

// A dialog of fixed client size in the window font, with a title bar and a close button only,
// centred over the main window whenever it is shown.
void setUpDialog(QDialog *dialog, const char *name, int width, int height);
// Centres `window` over the main window (over the screen while that is hidden) every time it is
// shown, the first time included.
void centreWhenShown(QWidget *window);
// A label sized to its text at `position`.
QLabel *label(const QString &text, QPoint position, QWidget *parent, const char *name);
QPushButton *button(const QString &text, const QRect &geometry, QWidget *parent, const char *name);
// A date picker (see short_date_picker) at its design place.
QDateEdit *datePicker(const QRect &geometry, QWidget *parent, const char *name);

// What a dialog tells the user when another process keeps the file locked longer than the
// engine waits: nothing was written, and what was typed stays in the dialog.
QString lockedFileText();

}  // namespace form_controls

}  // namespace vornak
