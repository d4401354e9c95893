#pragma once

#include "app/log_book_windows.h"
#include "data/data_module.h"
#include "editors/auto_edit_form.h"
#include "editors/events_edit_form.h"
#include "editors/fuel_edit_form.h"
#include "editors/mileage_edit_form.h"
#include "editors/type_expense_form.h"
#include "tests/fixtures/key_typing.h"
#include "tests/fixtures/modal_answer.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"

#include <functional>
#include <memory>
#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTest>

namespace vornak::testing {

// A log book in the working directory with the windows the start-up creates (by default only
// the data module and the record dialogs), scripted boxes and a clock fixed at 10.12.2026 12:00.
// The rows of `setup` are written before the data module opens the file.
struct LogBookSession {
    TempDatabase file;
    ScopedWorkingDirectory cwd{file.folder()};
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
    ScriptedDialogs dialogs;
    std::unique_ptr<LogBookWindows> windows;
    // The windows, as the tests reach them.
    TDataModule1 *module = nullptr;
    TAutoEditForm *autoEdit = nullptr;
    TFuelEditForm *fuelEdit = nullptr;
    TMileageEditForm *mileageEdit = nullptr;
    TEventsEditForm *eventsEdit = nullptr;
    TTYPE_EXPENSEForm *typeExpense = nullptr;

    explicit LogBookSession(const QStringList &setup = {},
                            LogBookWindows::Scope scope = LogBookWindows::Scope::RecordDialogs)
    {
        {
            auto connection = file.open();
            for (const QString &sql : setup)
                connection->execute(sql);
        }
        windows = std::make_unique<LogBookWindows>(scope);
        module = DataModule1;
        autoEdit = AutoEditForm;
        fuelEdit = FuelEditForm;
        mileageEdit = MileageEditForm;
        eventsEdit = EventsEditForm;
        typeExpense = TYPE_EXPENSEForm;
    }

    // What the file holds, read through a connection of its own: one text per row, the
    // columns joined with "|".
    QStringList rows(const QString &sql) const
    {
        auto connection = file.open();
        auto result = connection->query(sql);
        QStringList lines;
        for (qsizetype row = 0; row < result->rowCount(); ++row) {
            QStringList values;
            for (int column = 0; column < result->columns().size(); ++column)
                values.append(result->value(row, column).toString());
            lines.append(values.join(QLatin1Char('|')));
        }
        return lines;
    }
};

// Focuses `widget` and types `text` with real key events.
inline void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::TabFocusReason);
    typeText(widget, text);
}

}  // namespace vornak::testing
