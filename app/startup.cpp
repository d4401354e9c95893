#include "app/startup.h"

#include "app/after_start_up.h"
#include "app/flash.h"
#include "app/log_book_opening.h"
#include "app/log_book_windows.h"
#include "app/main_form.h"
#include "app/old_log_book_offer.h"
#include "app/program_icon.h"
#include "data/data_module.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/heap.h"
#include "platform/message_box.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <algorithm>
#include <QDeadlineTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

namespace vornak {

namespace {

constexpr int animationSteps = 100;
constexpr int stepSleepMs = 10;    // each step's pause, less the time its piece of work took
constexpr int exposeWaitMs = 500;  // the longest the start-up waits for the splash to be mapped

// Shows the splash window and has it painted at once: the window system maps the window and
// sends its first expose a little later, and that pending paint is carried out here.
void showPainted(QWidget &window)
{
    window.show();
    QDeadlineTimer deadline(exposeWaitMs);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    window.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::sync();
}

}  // namespace

void followRegionalSettings(const QLocale &system)
{
    const QLocale conventions = RegionalSettings::conventionsLocale(system);
    QLocale::setDefault(conventions);
    // Qt's own dialogs (a printer's page set-up, the file dialog) take their texts from Qt's
    // translations for that language, where they are installed.
    static QTranslator qtTexts;
    QCoreApplication::removeTranslator(&qtTexts);
    if (qtTexts.load(conventions, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
}

void playAnimation(TFlash &flash, const std::function<bool()> &stop, const QList<std::function<void()>> &work)
{
    Clock &clock = Clock::current();
    qsizetype done = 0;
    for (int step = 0; step < animationSteps && !(stop && stop()); ++step) {
        QCoreApplication::processEvents();
        const quint64 began = clock.tickCount();
        if (done < work.size()) {
            work[done++]();
            // The events the piece posted (its new widgets' layout and polish) are delivered
            // with it, so that their cost comes out of this pause too.
            QCoreApplication::sendPostedEvents();
        }
        const auto spent = qint64(clock.tickCount() - began);
        clock.sleep(int(std::max<qint64>(0, stepSleepMs - spent)));
        flash.Image1->move(flash.Image1->x() + 2, flash.Image1->y());
        flash.setWindowTitle(loadingCaption(step));
    }
}

QString loadingCaption(int step)
{
    const double rounded = roundHalfAway(step * 100.0 / 160.0);
    const QString digits = rounded == 0 ? QString() : QString::number(qint64(rounded));
    return QStringLiteral("Загрузка ") + digits + QStringLiteral(" %");
}

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Мой ворнак"));
    // The program's icon on every window, and the link to its desktop entry (the entry's
    // StartupWMClass names the windows' instance, the program's file name).
    setWindowIcon(programIcon());
    setDesktopFileName(QStringLiteral("ru.vornak.Vornak"));
    // The program's fonts are registered by the start-up, between the frames of its animation.
    followRegionalSettings(QLocale::system());
}

TApplication::~TApplication()
{
    destroyForms();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &error) {
        showErrorMessage(error.message());
    } catch (const std::exception &error) {
        showErrorMessage(QString::fromUtf8(error.what()));
    }
    return false;
}

void TApplication::destroyForms()
{
    afterStartUp_.reset();  // waits for a backup under way
    windows_.reset();
}

bool TApplication::startUp()
{
    // Windows are drawn in blocks of a megabyte or so (the main window's frame painted ahead, then
    // its backing store): kept in the heap, the second reuses the memory the first faulted in.
    keepLargeBlocksInHeap();
    if (!offerOldLogBookConversion(TMainForm::DatabasePath()))
        return false;
    try {
        LogBookOpening opening(Clock::current().now().date());  // reads while the splash shows and animates
        auto flash = std::make_unique<TFlash>();                // destroyed on every path out of this block
        showPainted(*flash);
        windows_ = std::make_unique<LogBookWindows>(
            [&](const LogBookWindows::MainWindowPieces &makeMainWindow, const LogBookWindows::Completion &complete) {
                // The program's fonts first (reading the font configuration), then the main window's
                // pictures, a piece each, then the window itself. Each step after those first looks
                // whether the log book is open, and once it is, completes the windows with it; the
                // step after that paints the main window's first frame ahead.
                QList<std::function<void()>> work =
                    QList<std::function<void()>>{registerFonts} + TMainForm::picturesAhead() + makeMainWindow;
                enum class Rest { AwaitOpening, PaintAhead, Done } rest = Rest::AwaitOpening;
                const auto completeOnceOpen = [&] {
                    if (rest == Rest::AwaitOpening && opening.ended() && !opening.failed()) {
                        complete(opening.take());
                        rest = Rest::PaintAhead;
                    } else if (rest == Rest::PaintAhead) {
                        MainForm->paintAhead();
                        rest = Rest::Done;
                    }
                };
                while (work.size() < animationSteps)
                    work.append(completeOnceOpen);
                playAnimation(
                    *flash, [&] { return opening.failed(); }, work);
                // A failure is raised here; a log book still being opened is awaited here.
                return rest == Rest::AwaitOpening ? opening.take() : nullptr;
            });
        flash->close();
        afterStartUp_ = std::make_unique<AfterStartUp>(*MainForm);
        // Once the loop shows the window.
        QTimer::singleShot(0, afterStartUp_.get(),
                           [after = afterStartUp_.get(), vehicles = opening.vehiclesDue()] { after->run(vehicles); });
    } catch (const Error &error) {
        destroyForms();
        showErrorMessage(error.message());
        return false;
    } catch (const std::exception &error) {
        destroyForms();
        showErrorMessage(QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

int TApplication::run()
{
    MainForm->show();
    return exec();
}

}  // namespace vornak
