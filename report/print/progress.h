#pragma once

// The progress window shown while printing: a borderless window centred on the screen with a
// raised panel, a message line ("Печатается страница %d") and "Отмена". While it is shown every
// other window of the program is disabled, whichever was active; it stays above its owner (the
// main window), so "Отмена" can always be reached.

#include <functional>
#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vornak {

class TfrxProgress : public QWidget {
    Q_OBJECT
public:
    // `onCancel` runs when "Отмена" is pressed, after the window has closed. `owner`: the window
    // it stays above (none: the active window when it opens).
    explicit TfrxProgress(std::function<void()> onCancel, QWidget *owner = nullptr);
    ~TfrxProgress() override;

    // Shows the window and disables every other window.
    void Start();
    void SetMessage(const QString &message);
    // Closes the window and enables the windows disabled by Start again.
    void Stop();

    QLabel *LMessage;
    QPushButton *CancelB;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<void()> onCancel_;
    QPointer<QWidget> owner_;
    QList<QPointer<QWidget>> disabled_;
};

}  // namespace vornak
