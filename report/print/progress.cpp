#include "report/print/progress.h"

#include "report/script/report_text.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace vornak {

TfrxProgress::TfrxProgress(std::function<void()> onCancel, QWidget *owner)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      onCancel_(std::move(onCancel)),
      owner_(owner)
{
    setObjectName(QStringLiteral("frxProgress"));
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    LMessage = new QLabel(panel);
    LMessage->setObjectName(QStringLiteral("LMessage"));
    LMessage->setAlignment(Qt::AlignCenter);
    LMessage->setMinimumWidth(240);
    CancelB = new QPushButton(reportText("cancel"), panel);
    CancelB->setObjectName(QStringLiteral("CancelB"));

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(16, 12, 16, 12);
    inner->addWidget(LMessage);
    inner->addWidget(CancelB, 0, Qt::AlignHCenter);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    connect(CancelB, &QPushButton::clicked, this, [this] {
        Stop();
        if (onCancel_)
            onCancel_();
    });
}

TfrxProgress::~TfrxProgress()
{
    Stop();
}

void TfrxProgress::Start()
{
    // Owned through the window system, not as a child: a child of the owner would be disabled
    // with it.
    QWidget *owner = owner_ ? owner_->window() : QApplication::activeWindow();
    if (owner && owner != this) {
        winId();
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && window->isEnabled()) {
            window->setEnabled(false);
            disabled_.append(window);
        }
    }
    show();
    raise();
}

void TfrxProgress::SetMessage(const QString &message)
{
    LMessage->setText(message);
}

void TfrxProgress::Stop()
{
    hide();
    for (const QPointer<QWidget> &window : std::as_const(disabled_))
        if (window)
            window->setEnabled(true);
    disabled_.clear();
}

void TfrxProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    adjustSize();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace vornak
