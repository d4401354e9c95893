#include "editors/form_controls.h"

#include "editors/short_date_picker.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <optional>

namespace vornak {

namespace form_controls {

namespace {

// The main window when it is shown, else the window the user works in.
QWidget *windowToCentreOver(const QWidget *window)
{
    for (QWidget *candidate : QApplication::topLevelWidgets()) {
        if (candidate != window && candidate->isVisible() && candidate->objectName() == QLatin1StringView("MainForm"))
            return candidate;
    }
    QWidget *active = QApplication::activeWindow();
    return active != window ? active : nullptr;
}

QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// Centres a window's frame over the main window's frame each time the window is shown. While a
// window is hidden its frame is not known and a move places its client area; the frame last seen
// around it, or before the first showing the main window's frame (drawn by the same window
// manager), tells where that client area goes so that the frame lands in the middle.
class CentreWhenShown : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Hide && !frameMargins(window).isNull())
            seenFrame_ = frameMargins(window);
        else if (event->type() == QEvent::Show && !event->spontaneous())
            centre(window);
        return false;
    }

private:
    void centre(QWidget *window) const
    {
        QWidget *over = windowToCentreOver(window);
        QPoint middle;
        if (over)
            middle = over->frameGeometry().center();
        else if (const QScreen *screen = window->screen())
            middle = screen->availableGeometry().center();
        else
            return;
        const QMargins own = frameMargins(window);
        QMargins margins = own;
        if (margins.isNull())
            margins = seenFrame_ ? *seenFrame_ : over ? frameMargins(over) : QMargins();
        const QSize frame = window->size().grownBy(margins);
        QPoint topLeft = middle - QPoint(frame.width() / 2, frame.height() / 2);
        if (own.isNull())
            topLeft += QPoint(margins.left(), margins.top());
        window->move(topLeft);
    }

    std::optional<QMargins> seenFrame_;
};

}  // namespace

void centreWhenShown(QWidget *window)
{
    window->installEventFilter(new CentreWhenShown(window));
}

void setUpDialog(QDialog *dialog, const char *name, int width, int height)
{
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(width, height);
    dialog->setFont(windowFont());
    centreWhenShown(dialog);
}

QLabel *label(const QString &text, QPoint position, QWidget *parent, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(position);
    label->adjustSize();
    return label;
}

QPushButton *button(const QString &text, const QRect &geometry, QWidget *parent, const char *name)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QDateEdit *datePicker(const QRect &geometry, QWidget *parent, const char *name)
{
    QDateEdit *picker = short_date_picker::create(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setGeometry(geometry);
    return picker;
}

QString lockedFileText()
{
    return QStringLiteral("Файл базы данных занят другой программой, и запись не сохранена. Введённые данные "
                          "остались в окне: сохраните запись ещё раз или отмените.");
}

}  // namespace form_controls

}  // namespace vornak
