#pragma once

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

#include <QApplication>
#include <QDialog>
#include <functional>
#include <QStringList>
#include <QTest>
#include <memory>

namespace vornak::testing {

// A log book in the working directory with the data module and the record dialogs created as
// the start-up creates them, scripted boxes and a clock fixed at 10.12.2026 12:00. The rows of
// `setup` are written before the data module opens the file.
struct LogBookSession {
    TempDatabase file;
    ScopedWorkingDirectory cwd{file.folder()};
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
    ScriptedDialogs dialogs;
    std::unique_ptr<TDataModule1> module;
    std::unique_ptr<TAutoEditForm> autoEdit;
    std::unique_ptr<TFuelEditForm> fuelEdit;
    std::unique_ptr<TMileageEditForm> mileageEdit;
    std::unique_ptr<TEventsEditForm> eventsEdit;
    std::unique_ptr<TTYPE_EXPENSEForm> typeExpense;

    explicit LogBookSession(const QStringList &setup = {})
    {
        {
            auto connection = file.open();
            for (const QString &sql : setup)
                connection->execute(sql);
        }
        module = std::make_unique<TDataModule1>();
        DataModule1 = module.get();
        autoEdit = std::make_unique<TAutoEditForm>();
        AutoEditForm = autoEdit.get();
        fuelEdit = std::make_unique<TFuelEditForm>();
        FuelEditForm = fuelEdit.get();
        mileageEdit = std::make_unique<TMileageEditForm>();
        MileageEditForm = mileageEdit.get();
        eventsEdit = std::make_unique<TEventsEditForm>();
        EventsEditForm = eventsEdit.get();
        typeExpense = std::make_unique<TTYPE_EXPENSEForm>();
        TYPE_EXPENSEForm = typeExpense.get();
    }

    ~LogBookSession()
    {
        TYPE_EXPENSEForm = nullptr;
        EventsEditForm = nullptr;
        MileageEditForm = nullptr;
        FuelEditForm = nullptr;
        AutoEditForm = nullptr;
        typeExpense.reset();
        eventsEdit.reset();
        mileageEdit.reset();
        fuelEdit.reset();
        autoEdit.reset();
        DataModule1 = nullptr;
        module.reset();
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

} // namespace vornak::testing
