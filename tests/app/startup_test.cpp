#include "app/after_start_up.h"
#include "app/flash.h"
#include "app/main_form.h"
#include "app/notice_bar.h"
#include "app/startup.h"
#include "data/data_module.h"
#include "editors/short_date_picker.h"
#include "grid/db_grid_eh.h"
#include "platform/regional_settings.h"
#include "tests/fixtures/scripted_dialogs.h"
#include "tests/fixtures/temp_database.h"

#include <gtest/gtest.h>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace vornak;

namespace {

TFlash *splashWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *flash = qobject_cast<TFlash *>(widget))
            return flash;
    }
    return nullptr;
}

}  // namespace

TEST(Startup, SplashCaptionCountsToSixtyTwo)
{
    const struct {
        int step;
        const char *caption;
    } cases[] = {
        {0, "Загрузка  %"}, {1, "Загрузка 1 %"}, {4, "Загрузка 3 %"}, {80, "Загрузка 50 %"}, {99, "Загрузка 62 %"}};
    for (const auto &c : cases)
        EXPECT_EQ(loadingCaption(c.step), QString::fromUtf8(c.caption)) << c.step;
}

// The start-up's own work rides in the animation's pauses: one piece a step, after the step's
// pending messages and before its pause, which is shortened by the time the piece took (a piece
// that overruns leaves no pause); the car and the caption move as without work, and an animation
// stopped early leaves the remaining pieces undone.
TEST(Startup, AnimationStepsCarryTheWorkAndKeepTheirPace)
{
    const int pieceCosts[] = {4, 15, 0};  // milliseconds on the test clock
    const struct {
        int stopAfterPieces;     // 0: never stopped
        QList<int> firstPauses;  // the rest are whole 10 ms
        int steps;
    } cases[] = {{0, {6, 0}, 100}, {1, {6}, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stopAfterPieces);
        vornak::testing::FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
        bool inPiece = false;
        QList<int> pauses;
        clock.onSleep = [&](int milliseconds) {
            if (!inPiece)
                pauses.append(milliseconds);
        };
        TFlash flash;
        QStringList done;
        QList<std::function<void()>> work;
        for (int piece = 0; piece < 3; ++piece)
            work.append([&, piece] {
                done.append(QStringLiteral("%1 under \"%2\"").arg(piece).arg(flash.windowTitle()));
                inPiece = true;
                clock.sleep(pieceCosts[piece]);
                inPiece = false;
            });

        playAnimation(
            flash, [&] { return c.stopAfterPieces && done.size() >= c.stopAfterPieces; }, work);

        QList<int> expectedPauses = c.firstPauses;
        while (expectedPauses.size() < c.steps)
            expectedPauses.append(10);
        EXPECT_EQ(pauses, expectedPauses);
        const QStringList expected =
            QStringList{QStringLiteral("0 under \"Загрузка...\""), QStringLiteral("1 under \"Загрузка  %\""),
                        QStringLiteral("2 under \"Загрузка 1 %\"")}
                .first(c.stopAfterPieces ? c.stopAfterPieces : 3);
        EXPECT_EQ(done, expected);
        EXPECT_EQ(flash.Image1->x(), 8 + 2 * c.steps);
        EXPECT_EQ(flash.windowTitle(), loadingCaption(c.steps - 1));
    }
}

TEST(Startup, AnimatesTheSplashThenLeavesTheWindowsReady)
{
    vornak::testing::TempDatabase database;
    vornak::testing::ScopedWorkingDirectory inFolder(database.folder());
    QList<QString> captions;
    QList<int> imageLefts;
    bool mainWindowShown = false;
    vornak::testing::FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    fixedClock.onSleep = [&](int) {
        TFlash *flash = splashWindow();
        ASSERT_NE(flash, nullptr);
        captions.append(flash->windowTitle());
        imageLefts.append(flash->Image1->x());
        mainWindowShown = mainWindowShown || (MainForm && MainForm->isVisible());
    };

    ASSERT_TRUE(qobject_cast<TApplication *>(qApp)->startUp());

    ASSERT_EQ(captions.size(), 100);
    EXPECT_EQ(captions[0], QStringLiteral("Загрузка..."));
    EXPECT_EQ(captions[1], QStringLiteral("Загрузка  %"));
    EXPECT_EQ(captions[5], QStringLiteral("Загрузка 3 %"));
    EXPECT_EQ(imageLefts.front(), 8);
    EXPECT_EQ(imageLefts.back(), 8 + 99 * 2);
    EXPECT_FALSE(mainWindowShown);
    EXPECT_EQ(splashWindow(), nullptr);
    ASSERT_NE(MainForm, nullptr);
    EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Мой ворнак"));
    ASSERT_NE(DataModule1, nullptr);
    // The main window was created before the data module and bound to it right after.
    EXPECT_EQ(MainForm->DBGridEh2->DataSource(), DataModule1->SourceSprAuto);
    EXPECT_EQ(MainForm->DBGridEh8->DataSource(), DataModule1->SourceDocEvents);
}

// Under a C or POSIX locale the regional settings fall back to Russian conventions, and Qt's own
// widgets follow: the calendar popup of a date picker names months and days in Russian, and Qt's
// dialogs say "Отмена".
TEST(Startup, CalendarPopupsSpeakTheLanguageOfTheRegionalSettings)
{
    const QLocale saved;
    const struct {
        QLocale system;
        const char *december;
        const char *cancel;
    } cases[] = {{QLocale::c(), "декабрь", "Отмена"},
                 {QLocale(QLocale::German, QLocale::Germany), "dezember", "Abbrechen"}};
    for (const auto &c : cases) {
        QLocale::setDefault(c.system);
        followRegionalSettings(c.system);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel));
        QWidget window;
        QDateEdit *picker = short_date_picker::create(&window);
        picker->setDate(QDate(2026, 12, 10));
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        // The drop-down arrow at the right end opens the calendar popup.
        QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 5, picker->height() / 2));
        QCalendarWidget *calendar = picker->calendarWidget();
        ASSERT_TRUE(calendar->isVisible()) << c.december;
        EXPECT_EQ(calendar->locale().standaloneMonthName(12).toLower(), QString::fromUtf8(c.december));
        const auto *month = calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
        ASSERT_NE(month, nullptr);
        EXPECT_EQ(month->text().toLower(), QString::fromUtf8(c.december));
        QTest::keyClick(calendar, Qt::Key_Escape);
    }
    followRegionalSettings(QLocale::c());
    QLocale::setDefault(saved);
}

// After a real start-up, in a process of its own (the windows are made once per process): the
// notice names each vehicle with due events, leaves the keyboard focus in the main window, and a
// vehicle's link leads to its events; the day's backup is taken beside the log book.
TEST(Startup, NoticeOfDueEventsLeavesTheFocusAndLeadsToTheEvents)
{
    const char *childMark = "VORNAK_STARTUP_CHILD";
    if (!qEnvironmentVariableIsSet(childMark)) {
        vornak::testing::TempDatabase database;
        {
            auto connection = database.open();
            for (const char *name : {"Лада", "Нива", "Ока"})
                connection->execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm) VALUES ('%1', 1000)")
                                        .arg(QString::fromUtf8(name)));
            // 10.12.2026 is day 46366: Нива has one overdue and one due soon, Ока one overdue by mileage.
            for (const char *values : {"1, 0, 0, 46400, 0", "2, 0, 0, 46360, 0", "2, 0, 0, 46370, 0",
                                       "2, 0, 1, 46300, 0", "3, 1, 0, 46366, 900"})
                connection->execute(QStringLiteral("INSERT INTO DOC_EVENTS (idauto, idtype, ENDE, datedoc, mileage) "
                                                   "VALUES (%1)")
                                        .arg(QLatin1String(values)));
        }
        QProcess child;
        child.setWorkingDirectory(database.folder());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(childMark), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Startup.NoticeOfDueEventsLeavesTheFocusAndLeadsToTheEvents")});
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray said = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << said.toStdString();
        EXPECT_TRUE(said.contains("[  PASSED  ] 1 test")) << said.toStdString();
        EXPECT_TRUE(QFileInfo::exists(database.folder() + QStringLiteral("/VORNAK.backups/VORNAK-2026-12-10.mdb")));
        return;
    }

    vornak::testing::FixedClock fixedClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    auto *application = qobject_cast<TApplication *>(qApp);
    ASSERT_TRUE(application->startUp());
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    AfterStartUp *after = application->afterStartUp();
    ASSERT_NE(after, nullptr);
    QTRY_VERIFY(after->notice->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), MainForm);
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(MainForm->isAncestorOf(focused));
    EXPECT_FALSE(after->notice->isAncestorOf(focused));

    QList<QToolButton *> links = after->notice->findChildren<QToolButton *>();
    links.removeOne(after->notice->closeButton());
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[0]->text(), QStringLiteral("Нива: просрочено 1, скоро 1"));
    EXPECT_EQ(links[1]->text(), QStringLiteral("Ока: просрочено 1"));

    MainForm->PageControl1->setCurrentWidget(MainForm->TabAuto);
    QTest::mouseClick(links[1], Qt::LeftButton);
    EXPECT_EQ(DataModule1->TableSprAutonameauto->AsString(), QStringLiteral("Ока"));
    EXPECT_EQ(MainForm->PageControl1->currentWidget(), MainForm->TabSheet7);
    EXPECT_FALSE(after->notice->isAncestorOf(QApplication::focusWidget()));
    QTRY_VERIFY(after->backup.started());  // once the window has been painted
    after->backup.wait();
}
