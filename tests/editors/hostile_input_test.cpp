// Hostile texts pasted into every field of the dialogs: a text field stores exactly what it
// shows, a number field refuses the text with a message and keeps the dialog open; nothing
// changes the schema of the file.
#include "data/db_edit.h"
#include "editors/events_edit_form.h"
#include "editors/fuel_edit_form.h"
#include "tests/editors/record_dialog_test_support.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>

using namespace vornak;
using namespace vornak::testing;

namespace {

const char *const vehicle = "INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES ('Лада', 900, '01.01.2011')";

QStringList hostileTexts()
{
    return {
        QStringLiteral("O'Brien \"Лукойл\" '' \"\""),
        QStringLiteral("x'); DROP TABLE DOC_EVENTS; --"),
        QStringLiteral("x\"); DELETE FROM DOC_EXPENSE; --"),
        QStringLiteral("-- not a comment /* nor this */"),
        QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
        QString(10 * 1024 * 1024, u'x'),
        QString(10000, u'(') + QString(10000, u')'),
        QStringLiteral("\"unterminated"),
        QStringLiteral("'unterminated"),
        QStringLiteral("#12/31/2011"),
        QStringLiteral("[name"),
        QStringLiteral("#99/99/9999#"),
        QStringLiteral("ATTACH DATABASE 'x.db' AS x"),
        QStringLiteral("PRAGMA rekey = 'x'"),
        QStringLiteral("VACUUM"),
        QStringLiteral("Жигули ворнак 🚗"),
    };
}

// Puts `text` into `edit` the way a user pastes it: select all, Ctrl+V.
void paste(QLineEdit *edit, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

QStringList column(const LogBook &book, const char *sql)
{
    return book.rows(QString::fromUtf8(sql));
}

TEST(HostileInput, TextFieldsStoreWhatTheyShow)
{
    LogBook book({vehicle});
    const QString schema = book.file.schema();
    QStringList expenses, events, vehicles{QStringLiteral("Лада")}, types;
    const int typeSize = book.module->TableTYPE_EXPENSEOPISANIE->Size;
    for (const QString &text : hostileTexts()) {
        SCOPED_TRACE(text.left(40).toStdString());
        book.answerNext<TFuelEditForm>([&](TFuelEditForm &form) {
            paste(form.EditOpisanie, text);
            expenses.append(form.EditOpisanie->text());
            return click(form, form.Button1);
        });
        book.fuelEdit->NewRecord();

        book.answerNext<TEventsEditForm>([&](TEventsEditForm &form) {
            paste(form.EditOpisanie, text);
            events.append(form.EditOpisanie->text());
            return click(form, form.Button1);
        });
        book.eventsEdit->NewRecord();

        book.answerNext<TAutoEditForm>([&](TAutoEditForm &form) {
            paste(form.DBEdit1, text);
            paste(form.DBEdit2, QStringLiteral("0"));
            vehicles.append(form.DBEdit1->text());
            return click(form, form.Button1);
        });
        book.autoEdit->NewRecord();

        book.dialogs.inputAnswers.push_back([&text](QString &value) {
            value = text;
            return true;
        });
        types.append(text.left(typeSize));
        book.typeExpense->ToolButton3Click();
    }
    EXPECT_EQ(book.messageTexts(), QStringList());
    EXPECT_EQ(column(book, "SELECT OPISANIE FROM DOC_EXPENSE ORDER BY ID"), expenses);
    EXPECT_EQ(column(book, "SELECT opisanie FROM DOC_EVENTS ORDER BY id"), events);
    EXPECT_EQ(column(book, "SELECT nameauto FROM SPR_AUTO ORDER BY id"), vehicles);
    EXPECT_EQ(column(book, "SELECT OPISANIE FROM SYS_TYPE_EXPENSE ORDER BY ID"), types);
    EXPECT_EQ(book.file.schema(), schema);
}

TEST(HostileInput, NumberFieldsRefuseTextsAndKeepTheDialogOpen)
{
    LogBook book({vehicle});
    const QString schema = book.file.schema();
    // Each number field, reached through its dialog: the dialog opens, the field is found.
    const struct {
        const char *field;
        std::function<void()> open;
        std::function<QLineEdit *(QDialog &)> edit;
    } fields[] = {
        {"mileage total", [&] { book.mileageEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TMileageEditForm &>(d).EditObsh; }},
        {"daily distance", [&] { book.mileageEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TMileageEditForm &>(d).Edit2; }},
        {"quantity", [&] { book.fuelEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TFuelEditForm &>(d).EditKolvo; }},
        {"amount", [&] { book.fuelEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TFuelEditForm &>(d).EditSumma; }},
        {"event mileage", [&] { book.eventsEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TEventsEditForm &>(d).EditMileAge; }},
        {"vehicle's starting reading", [&] { book.autoEdit->NewRecord(); },
         [](QDialog &d) { return static_cast<TAutoEditForm &>(d).DBEdit2; }},
    };
    const auto saveButton = [](QDialog &dialog) { return dialog.findChild<QPushButton *>(QStringLiteral("Button1")); };
    const auto cancelButton = [](QDialog &dialog) {
        return dialog.findChild<QPushButton *>(QStringLiteral("Button2"));
    };
    for (const auto &field : fields) {
        for (const QString &text : hostileTexts()) {
            SCOPED_TRACE(std::string(field.field) + ": " + text.left(40).toStdString());
            const qsizetype messagesBefore = book.dialogs.messages.size();
            book.dialogs.modalAnswers.push_back(answer([&](QDialog &dialog) {
                QLineEdit *edit = field.edit(dialog);
                paste(edit, text);
                EXPECT_EQ(click(dialog, saveButton(dialog)), ModalResult::None) << "the dialog closed";
                EXPECT_EQ(book.dialogs.messages.size(), messagesBefore + 1);
                EXPECT_EQ(edit->text(), text.left(edit->maxLength())) << "what was typed is kept";
                return click(dialog, cancelButton(dialog));
            }));
            field.open();
        }
    }
    for (const char *table : {"DOC_MILEAGE", "DOC_EXPENSE", "DOC_EVENTS"})
        EXPECT_EQ(book.rows(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1StringView(table))), QStringList{"0"});
    EXPECT_EQ(book.rows(QStringLiteral("SELECT count(*) FROM SPR_AUTO")), QStringList{"1"});
    EXPECT_EQ(book.file.schema(), schema);
}

}  // namespace
