#pragma once

// A date picker showing the date in the regional short date format, with a drop-down calendar,
// that takes typed dates: a click selects the section (day, month or year) under the mouse;
// typed digits replace the selected section and move on to the next one once it is complete
// (two digits, four for a four-digit year); a separator typed after some digits moves on at
// once; a whole date typed over a selected text replaces the whole value. The value changes with
// every digit, so what is shown is what is saved. A day the month does not have is shown as the
// month's last day while the typing goes on, and becomes the typed day when a later month or year
// has it.

#include <QDateEdit>

namespace vornak {

class TShortDatePicker : public QDateEdit {
public:
    explicit TShortDatePicker(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The typing under way: the section typed into, its digits so far, and the day as typed.
    struct Typing {
        int section = 0;  // index in display order
        QString digits;
        int wantedDay = 0;  // 0: none typed
    };

    void selectSectionAt(int cursor);
    void typeDigit(QChar digit);
    void nextSection();
    int sectionWidth(int index) const;
    void applySection(int index, int value);

    Typing typing_;
};

namespace short_date_picker {

QDateEdit *create(QWidget *parent);

}  // namespace short_date_picker

}  // namespace vornak
