#include "app/startup.h"

#include "app/after_start_up.h"
#include "app/flash.h"
#include "app/main_form.h"
#include "app/settings_form.h"
#include "data/data_module.h"
#include "editors/auto_edit_form.h"
#include "editors/events_edit_form.h"
#include "editors/fuel_edit_form.h"
#include "editors/mileage_edit_form.h"
#include "editors/type_expense_form.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/number_format.h"
#include "platform/regional_settings.h"

#include <QDeadlineTimer>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

namespace vornak {

namespace {

constexpr int animationSteps = 100;
constexpr int exposeWaitMs = 500;  // the longest the start-up waits for the splash to be mapped

// Creates a registered window into its process-wide reference and its owner's slot.
template <typename Form>
void createForm(std::unique_ptr<Form> &owner, Form *&reference)
{
    owner = std::make_unique<Form>();
    reference = owner.get();
}

template <typename Form>
void destroyForm(std::unique_ptr<Form> &owner, Form *&reference)
{
    reference = nullptr;
    owner.reset();
}

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

void playAnimation(TFlash &flash)
{
    for (int step = 0; step < animationSteps; ++step) {
        QCoreApplication::processEvents();
        Clock::current().sleep(10);
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
    setWindowIcon(QIcon(QStringLiteral(":/vornak.svg")));
    setDesktopFileName(QStringLiteral("ru.vornak.Vornak"));
    registerFonts();
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

void TApplication::createForms()
{
    createForm(mainForm_, MainForm);
    createForm(dataModule_, DataModule1);
    mainForm_->bindData();
    createForm(autoEditForm_, AutoEditForm);
    createForm(fuelEditForm_, FuelEditForm);
    createForm(settingsForm_, SettingsForm);
    createForm(mileageEditForm_, MileageEditForm);
    createForm(eventsEditForm_, EventsEditForm);
    createForm(typeExpenseForm_, TYPE_EXPENSEForm);
    // The dialogs show centred over the main window; they are destroyed before it.
    const QList<QDialog *> dialogs = {AutoEditForm,    FuelEditForm,   SettingsForm,
                                      MileageEditForm, EventsEditForm, TYPE_EXPENSEForm};
    for (QDialog *dialog : dialogs)
        dialog->setParent(MainForm, dialog->windowFlags());
}

void TApplication::destroyForms()
{
    afterStartUp_.reset();  // waits for a backup under way
    destroyForm(typeExpenseForm_, TYPE_EXPENSEForm);
    destroyForm(eventsEditForm_, EventsEditForm);
    destroyForm(mileageEditForm_, MileageEditForm);
    destroyForm(settingsForm_, SettingsForm);
    destroyForm(fuelEditForm_, FuelEditForm);
    destroyForm(autoEditForm_, AutoEditForm);
    destroyForm(dataModule_, DataModule1);
    destroyForm(mainForm_, MainForm);
}

bool TApplication::startUp()
{
    try {
        auto flash = std::make_unique<TFlash>();  // destroyed on every path out of this block
        showPainted(*flash);
        createForms();
        playAnimation(*flash);
        flash->close();
        afterStartUp_ = std::make_unique<AfterStartUp>(*MainForm);
        QTimer::singleShot(0, afterStartUp_.get(), &AfterStartUp::run);  // once the loop shows the window
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
