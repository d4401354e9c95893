// The typing of the short date picker. The picker's sections come from its display format, in
// display order; a click finds the section under the mouse by counting the separators before the
// cursor. Digits collect for the selected section and are applied at once: the day and the month
// as soon as they form a number, the year when all its digits are there.

#include "editors/short_date_picker.h"

#include "platform/regional_settings.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vornak {

namespace {

constexpr int shortSectionWidth = 2;
constexpr int longYearWidth = 4;

}  // namespace

TShortDatePicker::TShortDatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(RegionalSettings::current().shortDateFormat);
    setMinimumDate(QDate(1753, 1, 1));  // the zero date 30.12.1899 stays reachable
    lineEdit()->installEventFilter(this);
}

int TShortDatePicker::sectionWidth(int index) const
{
    const bool longYear = displayFormat().contains(QStringLiteral("yyyy"));
    return sectionAt(index) == YearSection && longYear ? longYearWidth : shortSectionWidth;
}

bool TShortDatePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
        // The line edit places its cursor first; then the section under it is selected.
        static_cast<QObject *>(lineEdit())->event(event);
        selectSectionAt(lineEdit()->cursorPosition());
        return true;
    }
    return QDateEdit::eventFilter(watched, event);
}

void TShortDatePicker::selectSectionAt(int cursor)
{
    const QString text = lineEdit()->text();
    int index = 0;
    for (int i = 0; i < std::min(cursor, int(text.size())); ++i)
        if (!text[i].isDigit())
            ++index;
    typing_ = {std::min(index, sectionCount() - 1), {}, 0};
    setSelectedSection(sectionAt(typing_.section));
}

void TShortDatePicker::focusOutEvent(QFocusEvent *event)
{
    typing_ = {};
    QDateEdit::focusOutEvent(event);
}

void TShortDatePicker::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && text.size() == 1 && text[0].isDigit()) {
        // Digits over a selection that is not one section start a whole date.
        if (lineEdit()->hasSelectedText() && lineEdit()->selectedText() != sectionText(sectionAt(typing_.section)))
            typing_ = {};
        typeDigit(text[0]);
        return;
    }
    if (plain && text.size() == 1 && text[0].isPunct()) {
        if (!typing_.digits.isEmpty())
            nextSection();
        return;
    }
    if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab && event->key() != Qt::Key_Shift)
        typing_.digits.clear();
    QDateEdit::keyPressEvent(event);
    typing_.section = std::max(0, currentSectionIndex());
}

void TShortDatePicker::typeDigit(QChar digit)
{
    typing_.digits += digit;
    const int width = sectionWidth(typing_.section);
    if (sectionAt(typing_.section) != YearSection || typing_.digits.size() == width)
        applySection(typing_.section, typing_.digits.toInt());
    if (typing_.digits.size() >= width)
        nextSection();
    else
        setSelectedSection(sectionAt(typing_.section));
}

void TShortDatePicker::nextSection()
{
    typing_.digits.clear();
    if (typing_.section + 1 < sectionCount())
        ++typing_.section;
    setSelectedSection(sectionAt(typing_.section));
}

void TShortDatePicker::applySection(int index, int value)
{
    const QDate current = date();
    int year = current.year();
    int month = current.month();
    int day = typing_.wantedDay ? typing_.wantedDay : current.day();
    switch (sectionAt(index)) {
    case DaySection:
        day = value;
        typing_.wantedDay = value;
        break;
    case MonthSection:
        month = value;
        break;
    case YearSection:
        year = sectionWidth(index) == longYearWidth ? value : 2000 + value;
        break;
    default:
        return;
    }
    if (month < 1 || month > 12 || day < 1)
        return;  // "0" on its way to "05": the value waits for the second digit
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    setDate(QDate(year, month, std::min(day, first.daysInMonth())));
}

namespace short_date_picker {

QDateEdit *create(QWidget *parent)
{
    return new TShortDatePicker(parent);
}

}  // namespace short_date_picker

}  // namespace vornak
