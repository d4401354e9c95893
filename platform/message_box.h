#pragma once

#include <QString>

class QDialog;

namespace vornak {

// The platform's standard boxes: the message box, the input query box, and showing a dialog of
// the system modally. The program goes through `UserDialogs::current()`; tests install scripted
// answers. The boxes as windows need Qt Widgets and live in a library of their own
// (platform/window_dialogs.h), which a program with windows makes its platform's boxes at start;
// a process without windows (the command line) has boxes that write the message to standard
// error and answer as a box closed without a choice, so nothing here links Qt Widgets.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual ModalResult messageBox(const QString &text, const QString &caption, MessageButtons buttons,
                                   MessageIcon icon) = 0;
    // The input query box: true when the user pressed OK; `value` holds the edited text, of at
    // most `maxLength` characters when that is positive.
    virtual bool inputQuery(const QString &caption, const QString &prompt, QString &value, int maxLength = 0) = 0;
    // Shows `dialog` modally and returns its modal result.
    virtual ModalResult showModal(QDialog &dialog) = 0;

    static UserDialogs &current();
    // Installs `dialogs` (not owned) over the platform's boxes; nullptr restores those.
    static void install(UserDialogs *dialogs);
    // Makes `dialogs` (not owned, living to the end of the process) the platform's boxes;
    // nullptr restores the boxes on standard error.
    static void setPlatformDialogs(UserDialogs *dialogs);
};

// The default error message box: the message, the application title (the application name) as
// caption, an OK button.
void showErrorMessage(const QString &message);

}  // namespace vornak
