#pragma once

#include <functional>
#include <memory>
#include <QApplication>
#include <QList>
#include <QLocale>
#include <QString>

namespace vornak {

class AfterStartUp;
class LogBookWindows;
class TFlash;

// Qt's default locale and Qt's own texts follow the regional settings: where they fall back to
// Russian conventions (a C or POSIX system locale), Qt's own widgets and dialogs, such as calendar
// popups and a printer's page set-up, speak Russian too.
void followRegionalSettings(const QLocale &system);

// The progress animation of the start-up: 100 steps, each processing the pending messages,
// sleeping 10 ms, moving the car 2 pixels to the right and setting the caption. Ends before a
// step once `stop` says so (the start-up's failure is then known). The steps' pauses carry the
// start-up's own work on this thread: each step does the next piece of `work` (a piece should
// take well under a pause), delivers the events the piece posted, and pauses only for what is
// left of the 10 ms, so the animation keeps its pace. Pieces left when the animation ends early
// are not done.
void playAnimation(TFlash &flash, const std::function<bool()> &stop = {},
                   const QList<std::function<void()>> &work = {});

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
    // their fixed order, the progress animation, splash window gone. The log book is opened in
    // the background meanwhile, the main window is made between the animation's frames, and the
    // windows are completed with the log book (registered, bound, the dialogs made, the main
    // window's first frame painted ahead) between later frames once it is open, or else once the
    // animation has played. False when creating a window failed; the error has been shown and
    // no window is left.
    bool startUp();
    // Shows the main window and runs the message loop until it is closed.
    int run();

    // The day's backup and the notice of due events, begun once the start-up is done.
    AfterStartUp *afterStartUp() const { return afterStartUp_.get(); }

private:
    void destroyForms();

    std::unique_ptr<LogBookWindows> windows_;
    std::unique_ptr<AfterStartUp> afterStartUp_;
};

}  // namespace vornak
