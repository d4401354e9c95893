#include "app/main_form.h"
#include "app/startup.h"
#include "platform/regional_settings.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vornak;


// Each case leaves a working directory in which the database cannot be opened; start-up must
// show the engine's message, leave no window and touch no file.
TEST(StartupFailure, ShowsTheMessageAndLeavesNoWindow)
{
    const struct {
        const char *name;
        QByteArray content; // empty: no file at all
    } cases[] = {
        {"missing file", {}},
        {"not a database", QByteArray("just some text, not a log book\n").repeated(100)},
        {"an old Access file", QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2048, '\0')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("VORNAK.mdb"));
        if (!c.content.isEmpty()) {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(c.content);
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        vornak::testing::ScriptedDialogs dialogs;
        vornak::testing::FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));

        EXPECT_FALSE(qobject_cast<TApplication *>(qApp)->startUp());

        QDir::setCurrent(previous);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_FALSE(dialogs.messages[0].text.isEmpty());
        EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Мой ворнак"));
        EXPECT_EQ(MainForm, nullptr);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                    std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                                 [](QWidget *w) { return w->isVisible(); }));
        if (c.content.isEmpty()) {
            EXPECT_FALSE(QFile::exists(file));
        } else {
            QFile in(file);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            EXPECT_EQ(in.readAll(), c.content);
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), c.content.isEmpty() ? 0 : 1);
    }
}
