#include "platform/errors.h"
#include "report/print/page_numbers.h"
#include "report/print/sheet_fitting.h"
#include "tests/report/print/print_fixture.h"

#include <gtest/gtest.h>

using namespace vornak;
using vornak::testing::PrintFixture;

TEST(Printing, PageSequences)
{
    struct Case {
        const char *name;
        int copies;
        bool collate;
        QString pageNumbers;
        TfrxPrintPages pages;
        bool reverse;
        QList<int> printed;
        int copiesPerSheet;
    };
    const QList<Case> cases = {
        {"all pages", 1, true, "", ppAll, false, {1, 2, 3}, 1},
        {"two collated copies", 2, true, "", ppAll, false, {1, 2, 3, 1, 2, 3}, 1},
        {"two copies not collated", 2, false, "", ppAll, false, {1, 2, 3}, 2},
        {"from 2 to the end", 1, true, "2-", ppAll, false, {2, 3}, 1},
        {"3 then 1", 1, true, " 3, 1", ppAll, false, {3, 1}, 1},
        {"items in order, outside pages skipped", 1, true, "5,2-3,1", ppAll, false, {2, 3, 1}, 1},
        {"odd pages of 1-3", 1, true, "1-3", ppOdd, false, {1, 3}, 1},
        {"even pages", 1, true, "", ppEven, false, {2}, 1},
        {"reverse 1-3", 1, true, "1-3", ppAll, true, {3, 2, 1}, 1},
        {"reverse, two collated copies of the odd pages", 2, true, "", ppOdd, true, {3, 1, 3, 1}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PrintFixture f;
        f.report.PrintOptions.Copies = c.copies;
        f.report.PrintOptions.Collate = c.collate;
        f.report.PrintOptions.PageNumbers = c.pageNumbers;
        f.report.PrintOptions.PrintPages = c.pages;
        f.report.PrintOptions.Reverse = c.reverse;
        ASSERT_TRUE(f.print());
        ASSERT_EQ(f.printers.jobs.size(), 1);
        EXPECT_TRUE(f.printers.jobs[0].ended);
        EXPECT_EQ(f.printers.jobs[0].title, QStringLiteral("Report Document"));
        EXPECT_EQ(f.printed(), c.printed);
        EXPECT_EQ(f.copyCounts(), QList<int>(c.printed.size(), c.copiesPerSheet));
        QStringList messages;
        for (int n : c.printed)
            messages.append(QStringLiteral("Печатается страница %1").arg(n));
        EXPECT_EQ(f.progress, messages);
        // Choices last for one print.
        EXPECT_EQ(f.report.PrintOptions.PageNumbers, c.pageNumbers);
    }
}

TEST(Printing, CurrentPageIsThePreviewsPage)
{
    PrintFixture f;
    f.store.CurPreviewPage = 1;
    f.report.PrintOptions.ShowDialog = true;
    TfrxPrintEvents events;
    events.ShowDialog = [&f](TfrxPrintOptions &options, QString &) {
        options.PageNumbers = frxCurrentPageList(f.report);  // "Текущая"
        return true;
    };
    ASSERT_TRUE(frxPrint(f.report, events));
    EXPECT_EQ(f.printed(), QList<int>{2});
    EXPECT_TRUE(f.report.PrintOptions.PageNumbers.isEmpty());

    // A cancelled dialog prints nothing.
    events.ShowDialog = [](TfrxPrintOptions &, QString &) { return false; };
    EXPECT_FALSE(frxPrint(f.report, events));
    EXPECT_EQ(f.printers.jobs.size(), 1);
}

TEST(Printing, PageLists)
{
    EXPECT_EQ(frxParsePageNumbers("", 5), QList<int>{});
    EXPECT_EQ(frxParsePageNumbers("5,1-3", 5), (QList<int>{5, 1, 2, 3}));
    EXPECT_EQ(frxParsePageNumbers("4-", 5), (QList<int>{4, 5}));
    EXPECT_EQ(frxParsePageNumbers("5-2", 5), QList<int>{});
    EXPECT_EQ(frxParsePageNumbers("0", 5), QList<int>{0});
    EXPECT_EQ(frxParsePageNumbers("1-2000000000", 3), (QList<int>{1, 2, 3}));
    EXPECT_EQ(frxParsePageNumbers("-", 5), QList<int>{-5});  // "-" + page count
    for (const char *bad : {"a", "1,,3", "1-b", "2-3-4"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(frxParsePageNumbers(QString::fromLatin1(bad), 5), ConversionError);
    }
}

TEST(Printing, ListsThatSelectNothingOrAreNotNumbersPrintNothing)
{
    // A list naming no page of the report is refused with a message (it would otherwise count as
    // empty and print every page).
    for (const char *list : {"5-2", "0", "7", "4-"}) {
        SCOPED_TRACE(list);
        PrintFixture f;
        f.report.PrintOptions.PageNumbers = QString::fromLatin1(list);
        EXPECT_FALSE(f.print());
        EXPECT_TRUE(f.printers.jobs.isEmpty());
        ASSERT_EQ(f.dialogs.messages.size(), 1);
        EXPECT_EQ(f.dialogs.messages[0].text,
                  QStringLiteral("В отчете нет страниц с номерами \"%1\"").arg(QString::fromLatin1(list)));
    }
    PrintFixture f;
    f.report.PrintOptions.PageNumbers = QStringLiteral("1,,3");
    bool locked = false;
    TfrxPrintEvents events;
    events.LockPreview = [&locked] { locked = true; };
    try {
        frxPrint(f.report, events);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'' is not a valid integer value"));
    }
    EXPECT_FALSE(locked);
    EXPECT_TRUE(f.printers.jobs.isEmpty());
    EXPECT_EQ(f.report.PrintOptions.PageNumbers, QStringLiteral("1,,3"));
}

TEST(Printing, UnprintableMarginCountsInWholeMillimetres)
{
    PrintFixture f(1);
    f.printers.marginDots = 42;  // 4.2 mm
    ASSERT_TRUE(f.print());
    TfrxCustomPrinter &printer = frxPrinters().Printer();
    EXPECT_EQ(printer.LeftMargin, 4);
    EXPECT_EQ(printer.TopMargin, 4);
    EXPECT_EQ(printer.PaperWidth, 50);
    EXPECT_EQ(printer.RightMargin, 50 - 42 - 4);  // printable 41.6 mm -> 42
    ASSERT_EQ(f.printers.jobs.size(), 1);
    // The page's 10 mm margin lands 6 mm (60 dots) into the printable area.
    EXPECT_EQ(PrintFixture::markerLeft(f.printers.jobs[0].pages[0].image), 60);
}

TEST(Printing, CancelStopsBeforeTheNextPage)
{
    PrintFixture f;
    f.report.PrintOptions.Copies = 2;
    TfrxPrintEvents events;
    int started = 0, stopped = 0;
    events.PrintStarted = [&started] { ++started; };
    events.PrintStopped = [&stopped] { ++stopped; };
    events.PrintProgress = [&f](int page, const QString &) {
        if (page == 2)
            f.report.Terminated = true;  // "Отмена"
    };
    ASSERT_TRUE(frxPrint(f.report, events));
    ASSERT_EQ(f.printers.jobs.size(), 1);
    EXPECT_EQ(f.printed(), (QList<int>{1, 2}));
    EXPECT_TRUE(f.printers.jobs[0].aborted);
    EXPECT_FALSE(f.printers.jobs[0].ended);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(stopped, 1);
}

TEST(Printing, PrinterList)
{
    {
        PrintFixture f(3, {});
        EXPECT_FALSE(frxPrinters().HasPhysicalPrinters);
        EXPECT_EQ(frxPrinters().Printers(), QStringList{QStringLiteral("Виртуальный")});
        EXPECT_FALSE(f.print());
        ASSERT_EQ(f.dialogs.messages.size(), 1);
        EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("В вашей системе не установлено принтеров"));
        EXPECT_EQ(f.dialogs.messages[0].caption, QStringLiteral("Ошибка"));
        EXPECT_TRUE(f.printers.jobs.isEmpty());
    }
    {
        // The default printer is current; a printer named in the options is chosen ignoring case.
        PrintFixture f(1, {QStringLiteral("Office"), QStringLiteral("Home")});
        f.printers.defaultName = QStringLiteral("Home");
        EXPECT_EQ(frxPrinters().Printer().Name, QStringLiteral("Home"));
        ASSERT_TRUE(f.print());
        f.report.PrintOptions.Printer = QStringLiteral("office");
        ASSERT_TRUE(f.print());
        ASSERT_EQ(f.printers.jobs.size(), 2);
        EXPECT_EQ(f.printers.jobs[0].printer, QStringLiteral("Home"));
        EXPECT_EQ(f.printers.jobs[1].printer, QStringLiteral("Office"));
        EXPECT_EQ(frxPrinters().Items(0).Papers.first().name, QStringLiteral("Пользовательский"));
        EXPECT_EQ(frxPrinters().Items(0).Bins.first().code, 7);
    }
    {
        // A device reporting no resolution: the message when selected and again when printing.
        PrintFixture f(1);
        f.printers.invalidPrinters.insert(QStringLiteral("Recorder"));
        EXPECT_FALSE(f.print());
        ASSERT_EQ(f.dialogs.messages.size(), 2);
        for (const auto &message : f.dialogs.messages)
            EXPECT_EQ(message.text, QStringLiteral("Printer selected is not valid"));
        EXPECT_TRUE(f.printers.jobs.isEmpty());
    }
}

TEST(Printing, SheetModes)
{
    {
        // Scale: every page on the A5 sheet, the page stretched to it.
        PrintFixture f(2);
        ASSERT_TRUE(f.printOnA5(pmScale));
        ASSERT_EQ(f.printers.jobs[0].pages.size(), 2);
        EXPECT_EQ(f.printers.jobs[0].pages[1].mode.paperSize, 11);
        // 148 / 50 times the marker of page 2.
        const int widest = PrintFixture::markerOf(f.printers.jobs[0].pages[1].image);
        EXPECT_EQ(widest, int(std::lround(2 * 148.0 / 50)));
    }
    {
        // Join: 2 x 7 places of 50 x 30 mm on A5; three pages and two copies fill one sheet.
        PrintFixture f(3);
        f.report.PrintOptions.Copies = 2;
        ASSERT_TRUE(f.printOnA5(pmJoin));
        ASSERT_EQ(f.printers.jobs[0].pages.size(), 1);
        EXPECT_EQ(f.printers.jobs[0].pages[0].mode.copies, 1);
        EXPECT_EQ(f.progress.size(), 6);
    }
    {
        // Split: a page that fits the sheet prints as it is; a 300 mm wide one takes two A5 sheets.
        PrintFixture f(1);
        ASSERT_TRUE(f.printOnA5(pmSplit));
        EXPECT_EQ(f.printers.jobs[0].pages.size(), 1);
        EXPECT_EQ(f.printers.jobs[0].pages[0].mode.paperSize, 256);
        PrintFixture wide(1, {QStringLiteral("Recorder")}, 300);
        ASSERT_TRUE(wide.printOnA5(pmSplit));
        ASSERT_EQ(wide.printers.jobs[0].pages.size(), 2);
        EXPECT_EQ(wide.printers.jobs[0].pages[1].mode.paperSize, 11);
        EXPECT_EQ(wide.progress.size(), 2);
    }
    EXPECT_EQ(frxFitCount(210, 210), 1);
    EXPECT_EQ(frxFitCount(215, 210), 1);  // 5 mm over: rounded
    EXPECT_EQ(frxFitCount(297, 210), 2);  // 87 mm over: one more
    EXPECT_EQ(frxFitCount(420, 210), 2);
    const TfrxSheetGrid turned = frxSplitGrid(290, 200, 210, 297);  // 2 sheets as it is, 1 turned
    EXPECT_TRUE(turned.turned);
    EXPECT_EQ(turned.columns * turned.rows, 1);
    EXPECT_FALSE(frxSplitGrid(300, 30, 148, 210).turned);
}

TEST(Printing, AJobThatCannotStartEndsTheCommandWithItsMessage)
{
    PrintFixture f;
    f.printers.refuseJobs = true;
    f.report.PrintOptions.FileName = QStringLiteral("/no/such/folder/report.prn");
    int stopped = 0;
    TfrxPrintEvents events;
    events.PrintStopped = [&stopped] { ++stopped; };
    try {
        frxPrint(f.report, events);
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Не удалось записать файл печати \"/no/such/folder/report.prn\""));
    }
    EXPECT_EQ(stopped, 1);
    EXPECT_FALSE(frxPrinters().Printer().Printing);
    EXPECT_TRUE(f.printers.jobs.isEmpty());
}
