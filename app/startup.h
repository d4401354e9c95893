#pragma once

#include <memory>
#include <QApplication>
#include <QLocale>
#include <QString>

class TDataModule1;

namespace vornak {

class AfterStartUp;
class TMainForm;
class TFlash;
class TAutoEditForm;
class TFuelEditForm;
class TSettingsForm;
class TMileageEditForm;
class TEventsEditForm;
class TTYPE_EXPENSEForm;

// Qt's default locale and Qt's own texts follow the regional settings: where they fall back to
// Russian conventions (a C or POSIX system locale), Qt's own widgets and dialogs, such as calendar
// popups and a printer's page set-up, speak Russian too.
void followRegionalSettings(const QLocale &system);

// The progress animation of the start-up: 100 steps, each processing the pending messages,
// sleeping 10 ms, moving the car 2 pixels to the right and setting the caption.
void playAnimation(TFlash &flash);

// The splash caption of animation step `step` (0 to 99): "Загрузка ## %" of step × 100 / 160.
QString loadingCaption(int step);

// The application object. It owns the registered windows, shows what escapes an event handler
// in the default error message box and keeps running.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // The start-up sequence up to the message loop: splash window, the registered windows in
    // their fixed order, the progress animation, splash window gone. False when creating a
    // window failed; the error has been shown and no window is left.
    bool startUp();
    // Shows the main window and runs the message loop until it is closed.
    int run();

    // The day's backup and the notice of due events, begun once the start-up is done.
    AfterStartUp *afterStartUp() const { return afterStartUp_.get(); }

private:
    void createForms();
    void destroyForms();

    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TDataModule1> dataModule_;
    std::unique_ptr<TAutoEditForm> autoEditForm_;
    std::unique_ptr<TFuelEditForm> fuelEditForm_;
    std::unique_ptr<TSettingsForm> settingsForm_;
    std::unique_ptr<TMileageEditForm> mileageEditForm_;
    std::unique_ptr<TEventsEditForm> eventsEditForm_;
    std::unique_ptr<TTYPE_EXPENSEForm> typeExpenseForm_;
    std::unique_ptr<AfterStartUp> afterStartUp_;
};

}  // namespace vornak
