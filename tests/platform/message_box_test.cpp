#include "platform/message_box.h"
#include "tests/fixtures/scripted_dialogs.h"

#include <gtest/gtest.h>

using namespace vornak;
using vornak::testing::ScriptedDialogs;

namespace {

// Without windows (no platform boxes set, as in the command line) a box writes its message to
// standard error, a plain message counts as read and every question as cancelled.
TEST(UserDialogs, WithoutWindowsWriteToStandardErrorAndChooseNothing)
{
    const struct {
        MessageButtons buttons;
        ModalResult answer;
    } cases[] = {
        {MessageButtons::Ok, ModalResult::Ok},
        {MessageButtons::OkCancel, ModalResult::Cancel},
        {MessageButtons::YesNo, ModalResult::Cancel},
        {MessageButtons::YesNoCancel, ModalResult::Cancel},
    };
    for (const auto &c : cases) {
        ::testing::internal::CaptureStderr();
        const ModalResult answer = UserDialogs::current().messageBox(
            QStringLiteral("Удалить запись?"), QStringLiteral("vornak-db"), c.buttons, MessageIcon::Question);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "vornak-db: Удалить запись?\n");
        EXPECT_EQ(answer, c.answer) << int(c.buttons);
    }
    QString value = QStringLiteral("как было");
    EXPECT_FALSE(UserDialogs::current().inputQuery(QStringLiteral("Ввод"), QStringLiteral("Имя"), value));
    EXPECT_EQ(value, QStringLiteral("как было"));
}

// Installed boxes (tests) answer over the platform's; removing them brings back the platform's,
// and without those the boxes on standard error.
TEST(UserDialogs, InstalledOverPlatformOverStandardError)
{
    UserDialogs &withoutWindows = UserDialogs::current();
    ScriptedDialogs platform;  // installs itself: taken back out to stand as the platform's boxes
    UserDialogs::install(nullptr);
    UserDialogs::setPlatformDialogs(&platform);
    EXPECT_EQ(&UserDialogs::current(), &platform);
    {
        ScriptedDialogs installed;
        EXPECT_EQ(&UserDialogs::current(), &installed);
    }
    EXPECT_EQ(&UserDialogs::current(), &platform);
    UserDialogs::setPlatformDialogs(nullptr);
    EXPECT_EQ(&UserDialogs::current(), &withoutWindows);
}

}  // namespace
