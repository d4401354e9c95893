// The start-up with an old version's log book (a Jet file) as "VORNAK.mdb": the program offers to
// convert it. Each test runs the program's start-up in its own process, the message box answered
// by a script.
#include "app/main_form.h"
#include "app/startup.h"
#include "data/data_module.h"
#include "data/field.h"
#include "tests/fixtures/jet4_writer.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"

#include <functional>
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace vornak;
using namespace vornak::testing;

namespace {

const QString question =
    QStringLiteral("Файл «VORNAK.mdb» — журнал старой версии программы. Преобразовать его в новый формат?\n\n"
                   "Старый файл будет сохранён под именем «VORNAK.mdb.access».");

TEST(OldLogBookOffer, YesConvertsAndTheProgramShowsTheImportedData)
{
    QTemporaryDir dir;
    const QByteArray old = writeJet4(sampleOldLogBook());
    ASSERT_TRUE(writeFileContents(dir.filePath(QStringLiteral("VORNAK.mdb")), old));
    ScopedWorkingDirectory here(dir.path());
    ScriptedDialogs dialogs;
    dialogs.messageAnswers = {ModalResult::Yes};
    FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));

    ASSERT_TRUE(qobject_cast<TApplication *>(qApp)->startUp());

    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, question);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(fileContents(dir.filePath(QStringLiteral("VORNAK.mdb.access"))), old);
    ASSERT_NE(MainForm, nullptr);
    QStringList vehicles;
    for (DataModule1->TableSprAuto->First(); !DataModule1->TableSprAuto->Eof(); DataModule1->TableSprAuto->Next())
        vehicles.append(DataModule1->TableSprAuto->FieldByName(QStringLiteral("nameauto"))->AsString());
    EXPECT_EQ(vehicles, QStringList({QStringLiteral("Лада Гранта"), QStringLiteral("Renault Logan 1.6"),
                                     QStringLiteral("УАЗ «Патриот» 2.7i"), QString(), QString()}));
    DataModule1->TableSprAuto->First();
    EXPECT_EQ(DataModule1->QueryDocMileage->RecordCount(), 133);  // the first vehicle's readings
}

struct Case {
    const char *name;
    ModalResult answer;
    std::function<void(const QString &folder)> alsoMake;
    QStringList messages;  // after the question
};

// No, and a conversion that cannot be made: the start-up ends with a message, and every file
// stays as it was, the old log book under its own name.
TEST(OldLogBookOffer, NoOrAFailedConversionEndsTheStartUpAndChangesNothing)
{
    const QString accessMessage = QStringLiteral(
        "The file '%1/VORNAK.mdb' is an Access database. It must be converted to this program's format before it can "
        "be used.");
    const Case cases[] = {
        {"No", ModalResult::No, [](const QString &) {}, {accessMessage}},
        {"the name for the old file is taken",
         ModalResult::Yes,
         [](const QString &folder) { writeFileContents(folder + QStringLiteral("/VORNAK.mdb.access"), "mine"); },
         {QStringLiteral("Журнал старой версии не преобразован. Файл «VORNAK.mdb.access» уже есть: переименуйте или "
                         "удалите его и запустите программу снова.")}},
        {"a table missing",
         ModalResult::Yes,
         [](const QString &folder) {
             JetFileContents file = sampleOldLogBook();
             file.tables.removeAt(2);
             writeFileContents(folder + QStringLiteral("/VORNAK.mdb"), writeJet4(file));
         },
         {QStringLiteral("Журнал старой версии не преобразован. Причина:\nThe file '%1/VORNAK.mdb.access' is not a log "
                         "book of the old version:\nTable DOC_MILEAGE is missing.")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        writeFileContents(dir.filePath(QStringLiteral("VORNAK.mdb")), writeJet4(sampleOldLogBook()));
        c.alsoMake(dir.path());
        QStringList before;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            before.append(name + u' ' + QString::fromLatin1(fileContents(dir.filePath(name)).toBase64()));

        ScopedWorkingDirectory here(dir.path());
        ScriptedDialogs dialogs;
        dialogs.messageAnswers = {c.answer};
        FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
        EXPECT_FALSE(qobject_cast<TApplication *>(qApp)->startUp());

        QStringList shown;
        for (const ScriptedDialogs::Message &message : dialogs.messages)
            shown.append(message.text);
        QStringList expected = {question};
        for (const QString &message : c.messages)
            expected.append(QString(message).replace(QStringLiteral("%1"), dir.path()));
        EXPECT_EQ(shown.join(u'|').toStdString(), expected.join(u'|').toStdString());
        EXPECT_EQ(MainForm, nullptr);
        QStringList after;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            after.append(name + u' ' + QString::fromLatin1(fileContents(dir.filePath(name)).toBase64()));
        EXPECT_EQ(after, before);
    }
}

}  // namespace
