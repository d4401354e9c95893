#pragma once

#include <QFrame>
#include <QString>

#include <functional>

class QHBoxLayout;
class QLabel;
class QToolButton;
class QVBoxLayout;

namespace vornak {

// A strip along the bottom of the main window that tells the user something without stopping
// them: lines of text, links below them, and a button that closes the strip. Nothing in it takes
// the keyboard focus, so whatever the user was typing into keeps it. Hidden while empty.
class NoticeBar : public QFrame {
    Q_OBJECT
public:
    explicit NoticeBar(QWidget *parent = nullptr);

    // Adds a line of plain text and shows the strip.
    QLabel *addLine(const QString &text);
    // Adds a link (a flat button reading `text`) that runs `onClick`, and shows the strip.
    QToolButton *addLink(const QString &text, std::function<void()> onClick);

    QToolButton *closeButton() const { return close_; }

private:
    QVBoxLayout *lines_;
    QHBoxLayout *links_;
    QToolButton *close_;
};

}  // namespace vornak
