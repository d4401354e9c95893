// Which boxes answer: the installed ones (tests) over the platform's (the windows of
// platform/window_dialogs.h, which a program with windows sets at start) over the boxes of a
// process without windows, which write each message to standard error and choose nothing.
#include "platform/message_box.h"

#include <cstdio>
#include <QCoreApplication>

namespace vornak {

namespace {

// Nobody can answer a box here: a plain message counts as read, every question as cancelled.
class StandardErrorDialogs final : public UserDialogs {
public:
    ModalResult messageBox(const QString &text, const QString &caption, MessageButtons buttons, MessageIcon) override
    {
        const QString line = caption.isEmpty() ? text : caption + QLatin1String(": ") + text;
        const QByteArray bytes = (line + u'\n').toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        return buttons == MessageButtons::Ok ? ModalResult::Ok : ModalResult::Cancel;
    }

    bool inputQuery(const QString &, const QString &, QString &, int) override { return false; }

    ModalResult showModal(QDialog &) override { return ModalResult::Cancel; }
};

UserDialogs *installed = nullptr;
UserDialogs *platformDialogs = nullptr;

}  // namespace

UserDialogs &UserDialogs::current()
{
    static StandardErrorDialogs withoutWindows;
    if (installed)
        return *installed;
    return platformDialogs ? *platformDialogs : withoutWindows;
}

void UserDialogs::install(UserDialogs *dialogs)
{
    installed = dialogs;
}

void UserDialogs::setPlatformDialogs(UserDialogs *dialogs)
{
    platformDialogs = dialogs;
}

void showErrorMessage(const QString &message)
{
    UserDialogs::current().messageBox(message, QCoreApplication::applicationName(), MessageButtons::Ok,
                                      MessageIcon::Error);
}

}  // namespace vornak
