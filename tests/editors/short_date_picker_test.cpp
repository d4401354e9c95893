// The date picker of every dialog and of the report period, typed into with real clicks and keys
// under Russian regional settings (dd.MM.yyyy).

#include "editors/short_date_picker.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

using namespace vornak;

namespace {

// Clicks into character `position` of the picker's text.
void clickAt(QDateEdit &picker, int position)
{
    QLineEdit *edit = picker.findChild<QLineEdit *>();
    // The line edit's text starts two pixels in from its frame.
    const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QFontMetrics metrics(edit->font());
    const QString text = edit->text();
    const int x = frame + 2 + edit->textMargins().left() + metrics.horizontalAdvance(text.left(position)) +
                  metrics.horizontalAdvance(text.at(position)) / 2;
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
}

}  // namespace

// From 01.11.2026: a click selects the section under the mouse, digits replace it and move on,
// a separator after a short number moves on, a whole date over everything replaces everything,
// a day the month lacks waits for a month that has it.
TEST(ShortDatePicker, TakesTypedDates)
{
    const struct {
        int click;  // character clicked; -1: Ctrl+A
        const char *keys;
        QDate shown;
    } cases[] = {
        {0, "15", QDate(2026, 11, 15)},         {1, "7", QDate(2026, 11, 7)},
        {3, "03", QDate(2026, 3, 1)},           {8, "2025", QDate(2025, 11, 1)},
        {-1, "15.03.2026", QDate(2026, 3, 15)}, {-1, "01.11.2026", QDate(2026, 11, 1)},
        {0, "5.3.2027", QDate(2027, 3, 5)},     {0, "3102", QDate(2026, 2, 28)},
        {0, "310220280", QDate(2028, 2, 29)},   {0, "3112", QDate(2026, 12, 31)},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.keys);
        std::unique_ptr<QDateEdit> picker(short_date_picker::create(nullptr));
        picker->setDate(QDate(2026, 11, 1));
        picker->show();
        ASSERT_EQ(picker->text(), QStringLiteral("01.11.2026"));
        if (row.click < 0) {
            QTest::mouseClick(picker->findChild<QLineEdit *>(), Qt::LeftButton);
            QTest::keyClick(picker.get(), Qt::Key_A, Qt::ControlModifier);
        } else {
            clickAt(*picker, row.click);
        }
        QTest::keyClicks(picker.get(), QLatin1String(row.keys));
        EXPECT_EQ(picker->date(), row.shown);
        EXPECT_EQ(picker->text(), row.shown.toString(QStringLiteral("dd.MM.yyyy")));
    }
}
