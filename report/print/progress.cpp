#include "report/print/progress.h"

#include "report/script/report_text.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vornak {

TfrxProgress::TfrxProgress(std::function<void()> onCancel)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      onCancel_(std::move(onCancel))
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
    disabled_ = QApplication::activeWindow();
    if (disabled_ == this)
        disabled_ = nullptr;
    if (disabled_)
        disabled_->setEnabled(false);
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
    if (disabled_)
        disabled_->setEnabled(true);
    disabled_ = nullptr;
}

void TfrxProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    adjustSize();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace vornak
