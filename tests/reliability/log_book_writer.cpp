// A second program on one log book, for the crash and two-writer tests. Started in the folder of
// "VORNAK.mdb", it writes expenses the way the user does: the expense dialog builds each
// statement and the scratch query executes it. Every entry is reported on standard output as
// soon as its write has returned, with one unbuffered write, so a report read after a kill is
// an entry the program had acknowledged:
//
//   log_book_writer entries PREFIX COUNT [--read-lists]
//       writes COUNT expenses described PREFIX-0, PREFIX-1, ...; prints "written <description>"
//       for each, or "error <text>" for a message the user would have seen instead; with
//       --read-lists it also reopens every list after each entry, as switching tabs does
//   log_book_writer hold-lock MILLISECONDS
//       takes the file's write lock, prints "locked", keeps it that long and lets it go
#include "app/log_book_windows.h"
#include "data/ado_query.h"
#include "data/ado_table.h"
#include "data/data_module.h"
#include "editors/fuel_edit_form.h"
#include "platform/errors.h"
#include "platform/regional_settings.h"
#include "platform/sqlcipher_connection.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tools/log_book_schema.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <unistd.h>

using namespace vornak;

namespace {

void report(const QString &line)
{
    const QByteArray bytes = (line + u'\n').toUtf8();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0)
            return;
        done += written;
    }
}

void reopenLists()
{
    for (TADOQuery *list : {DataModule1->QueryDocMileage, DataModule1->QueryDocExpense, DataModule1->QueryDocEvents}) {
        list->Close();
        list->Open();
    }
    DataModule1->TableTYPE_EXPENSE->Close();
    DataModule1->TableTYPE_EXPENSE->Open();
}

int writeEntries(const QString &prefix, int count, bool readLists)
{
    testing::ScriptedDialogs dialogs;
    const LogBookWindows windows(LogBookWindows::Scope::RecordDialogs);
    TFuelEditForm &form = *FuelEditForm;
    for (int i = 0; i < count; ++i) {
        const QString description = prefix + u'-' + QString::number(i);
        dialogs.modalAnswers.push_back([&form, &description, i](QDialog &) {
            form.EditKolvo->setText(QStringLiteral("1"));
            form.EditSumma->setText(QString::number(i));
            form.EditOpisanie->setText(description);
            form.Button1->click();
            return ModalResult(form.result());
        });
        dialogs.messages.clear();
        try {
            form.NewRecord();
            if (readLists)
                reopenLists();
        } catch (const Error &error) {
            report(QStringLiteral("error ") + error.message());
            continue;
        }
        if (!dialogs.messages.isEmpty()) {
            report(QStringLiteral("error ") + dialogs.messages.first().text);
            continue;
        }
        report(QStringLiteral("written ") + description);
    }
    return 0;
}

int holdLock(int milliseconds)
{
    auto connection = SqlCipherConnection::open(QStringLiteral("VORNAK.mdb"), log_book::password);
    connection->runStatement(QStringLiteral("BEGIN IMMEDIATE"), {});
    report(QStringLiteral("locked"));
    QThread::msleep(milliseconds);
    connection->runStatement(QStringLiteral("ROLLBACK"), {});
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegionalSettings::setCurrent(RegionalSettings::russian());
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() >= 3 && args[0] == u"entries")
            return writeEntries(args[1], args[2].toInt(), args.contains(QStringLiteral("--read-lists")));
        if (args.size() == 2 && args[0] == u"hold-lock")
            return holdLock(args[1].toInt());
    } catch (const Error &error) {
        report(QStringLiteral("error ") + error.message());
        return 1;
    }
    report(QStringLiteral("usage: log_book_writer entries PREFIX COUNT [--read-lists] | hold-lock MILLISECONDS"));
    return 2;
}
