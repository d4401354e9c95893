#include "app/notice_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vornak {

namespace {

const QColor paper(255, 244, 206);  // a pale yellow, like a note
const QColor linkColour(0, 0, 192);

}  // namespace

NoticeBar::NoticeBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("NoticeBar"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, paper);
    setPalette(shade);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    auto *body = new QVBoxLayout;
    body->setSpacing(2);
    lines_ = new QVBoxLayout;
    lines_->setSpacing(2);
    links_ = new QHBoxLayout;
    links_->setSpacing(8);
    links_->addStretch(1);
    body->addLayout(lines_);
    body->addLayout(links_);
    layout->addLayout(body, 1);

    close_ = new QToolButton(this);
    close_->setObjectName(QStringLiteral("NoticeClose"));
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setFocusPolicy(Qt::NoFocus);
    close_->setToolTip(QStringLiteral("Закрыть"));
    connect(close_, &QToolButton::clicked, this, &QWidget::hide);
    layout->addWidget(close_, 0, Qt::AlignTop);
    hide();
}

QLabel *NoticeBar::addLine(const QString &text)
{
    auto *line = new QLabel(text, this);
    line->setWordWrap(true);
    line->setTextFormat(Qt::PlainText);
    line->setFocusPolicy(Qt::NoFocus);
    lines_->addWidget(line);
    show();
    return line;
}

QToolButton *NoticeBar::addLink(const QString &text, std::function<void()> onClick)
{
    auto *link = new QToolButton(this);
    link->setText(text);
    link->setAutoRaise(true);
    link->setFocusPolicy(Qt::NoFocus);
    link->setCursor(Qt::PointingHandCursor);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette blue = link->palette();
    blue.setColor(QPalette::ButtonText, linkColour);
    link->setPalette(blue);
    connect(link, &QToolButton::clicked, this, [onClick = std::move(onClick)] { onClick(); });
    links_->insertWidget(links_->count() - 1, link);
    show();
    return link;
}

}  // namespace vornak
