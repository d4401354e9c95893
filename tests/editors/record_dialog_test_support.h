#pragma once

#include "tests/editors/log_book_session.h"
#include "tools/result_text.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>

namespace vornak::testing {

// A log book session (today 10.12.2026) that also checks every scripted dialog was shown.
struct LogBook : LogBookSession {
    explicit LogBook(std::initializer_list<const char *> rows = {})
        : LogBookSession(statements(rows))
    {
    }
    ~LogBook() { EXPECT_TRUE(dialogs.modalAnswers.empty()) << "a scripted dialog was never shown"; }

    // What the file holds as tab-separated lines, the column names first.
    QString table(const char *sql) const
    {
        auto db = file.open();
        return tabSeparatedText(*db->query(QString::fromUtf8(sql)));
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
        dialogs.modalAnswers.push_back(answer([fill](QDialog &dialog) { return fill(dynamic_cast<Form &>(dialog)); }));
    }

private:
    static QStringList statements(std::initializer_list<const char *> rows)
    {
        QStringList list;
        for (const char *row : rows)
            list.append(QString::fromUtf8(row));
        return list;
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

}  // namespace vornak::testing

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
