#pragma once

#include "app/main_form.h"
#include "app/settings_form.h"
#include "data/db_edit.h"
#include "editors/auto_edit_form.h"
#include "tests/editors/log_book_session.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace vornak::testing {

// The log book session with every window of the program, the main window shown.
struct MainWindowSession : LogBookSession {
    TMainForm *window;

    explicit MainWindowSession(const QStringList &setup = {})
        : LogBookSession(setup, LogBookWindows::Scope::Program),
          window(MainForm)
    {
        window->show();
        QApplication::setActiveWindow(window);
        (void)QTest::qWaitForWindowActive(window);
    }

    QStringList vehicles() const { return rows(QStringLiteral("select nameauto from SPR_AUTO order by id")); }

    QToolButton *button(QToolBar *bar, QAction *action) const
    {
        return qobject_cast<QToolButton *>(bar->widgetForAction(action));
    }

    // Records the caption and name box of every dialog shown, answering Cancel.
    QStringList shownDialogs;
    void recordDialogs(int count)
    {
        for (int i = 0; i < count; ++i)
            dialogs.modalAnswers.push_back(answer([this](QDialog &dialog) {
                QString text = dialog.windowTitle();
                if (auto *vehicle = qobject_cast<TAutoEditForm *>(&dialog))
                    text += QLatin1Char('|') + vehicle->DBEdit1->text();
                shownDialogs.append(text);
                return ModalResult::Cancel;
            }));
    }
};

}  // namespace vornak::testing
