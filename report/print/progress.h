#pragma once

// The progress window shown while printing: a borderless window centred on the screen with a
// raised panel, a message line ("Печатается страница %d") and "Отмена". While it is shown the
// window that was active when it opened is disabled.

#include <functional>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vornak {

class TfrxProgress : public QWidget {
    Q_OBJECT
public:
    // `onCancel` runs when "Отмена" is pressed, after the window has closed.
    explicit TfrxProgress(std::function<void()> onCancel);
    ~TfrxProgress() override;

    // Shows the window and disables the active window.
    void Start();
    void SetMessage(const QString &message);
    // Closes the window and enables the window disabled by Start again.
    void Stop();

    QLabel *LMessage;
    QPushButton *CancelB;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<void()> onCancel_;
    QPointer<QWidget> disabled_;
};

}  // namespace vornak
