#pragma once

#include "data/data_module.h"
#include "editors/type_expense_form.h"
#include "platform/message_box.h"
#include "tests/fixtures/key_typing.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"
#include "tests/platform/database_test_support.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace vornak::testing {

// A log book in the working directory with the given rows, its data module as `DataModule1` and
// the expense type catalogue as `TYPE_EXPENSEForm`, today fixed at 13.11.2011 and scripted
// answers for every box and modal dialog.
struct LogBook {
    TempDatabase file;
    ScopedWorkingDirectory cwd{file.folder()};
    FixedClock clock{QDateTime(QDate(2011, 11, 13), QTime(10, 30))};
    ScriptedDialogs dialogs;
    std::unique_ptr<TDataModule1> module;
    std::unique_ptr<TTYPE_EXPENSEForm> catalogue;

    explicit LogBook(std::initializer_list<const char *> rows = {})
    {
        {
            auto db = file.open();
            for (const char *row : rows)
                db->execute(QString::fromUtf8(row));
        }
        module = std::make_unique<TDataModule1>();
        DataModule1 = module.get();
        catalogue = std::make_unique<TTYPE_EXPENSEForm>();
        TYPE_EXPENSEForm = catalogue.get();
    }
    ~LogBook()
    {
        EXPECT_TRUE(dialogs.modalAnswers.empty()) << "a scripted dialog was never shown";
        TYPE_EXPENSEForm = nullptr;
        catalogue.reset();
        DataModule1 = nullptr;
    }

    // What the file holds, read through a connection of its own.
    QString rows(const char *sql) const
    {
        auto db = file.open();
        return renderResult(*db->query(QString::fromUtf8(sql)));
    }

    // The texts of the message boxes shown so far.
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto &message : dialogs.messages)
            texts.append(message.text);
        return texts;
    }

    // The next modal dialog is shown and handed to `fill`, which fills it in and returns the
    // dialog's result.
    template <class Form, class Fill>
    void answerNext(Fill fill)
    {
        dialogs.modalAnswers.push_back([fill](QDialog &dialog) {
            auto &form = dynamic_cast<Form &>(dialog);
            form.show();
            const ModalResult result = fill(form);
            form.hide();
            return result;
        });
    }
};

// Replaces the text of `edit` by typing: select all, then the keys of `text` (Backspace for none).
inline void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        typeText(edit, text);
}

// Clicks a button of the shown dialog and reports how the dialog ended: its result once it has
// closed, None while it is still open.
inline ModalResult click(QDialog &dialog, QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    return dialog.isVisible() ? ModalResult::None : ModalResult(dialog.result());
}

} // namespace vornak::testing

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
