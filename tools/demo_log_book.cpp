#include "tools/demo_log_book.h"

#include "platform/database.h"

#include <QRandomGenerator>

namespace vornak::log_book {

namespace {

QString dateLiteral(const QDate &date)
{
    return date.toString(QStringLiteral("'#'MM/dd/yyyy'#'"));
}

QString money(double amount)
{
    return QString::number(amount, 'f', 2);
}

struct DemoVehicle {
    const char *name;
    int startKm;
    int minDaily;  // km on a day with a reading
    int maxDaily;
    int maxGap;  // days between readings
    double litresPer100km;
};

const DemoVehicle vehicles[] = {
    {"Лада Веста", 18400, 25, 90, 3, 7.5},
    {"УАЗ Патриот", 62100, 15, 160, 6, 13.5},
};

// Expense types, in the catalogue's order; the keys are 1, 2, ... in this order.
const char *const expenseTypes[] = {"Бензин", "Мойка", "Техобслуживание", "Шиномонтаж", "Стоянка", "Страховка"};
enum ExpenseType { Fuel = 1, Wash, Service, Tyres, Parking, Insurance };

class DemoWriter {
public:
    DemoWriter(Connection &connection, const QDate &today)
        : db_(connection),
          today_(today),
          start_(today.addYears(-1).addDays(1)),
          random_(20111113)
    {
    }

    void run()
    {
        for (const char *type : expenseTypes)
            db_.execute(
                QStringLiteral("INSERT INTO SYS_TYPE_EXPENSE (OPISANIE) VALUES (\"%1\")").arg(QString::fromUtf8(type)));
        int key = 1;
        for (const DemoVehicle &vehicle : vehicles)
            writeVehicle(key++, vehicle);
    }

private:
    int between(int low, int high) { return int(random_.bounded(low, high + 1)); }

    void expense(int vehicle, const QDate &date, ExpenseType type, double quantity, double amount, const QString &text)
    {
        db_.execute(QStringLiteral("INSERT INTO DOC_EXPENSE (DATEDOC, IDAUTO,KOLVO, SUMMA, idtype,opisanie )\n"
                                   "values ( %1,%2,%3,%4,%5,\"%6\")")
                        .arg(dateLiteral(date))
                        .arg(vehicle)
                        .arg(money(quantity), money(amount))
                        .arg(int(type))
                        .arg(text));
    }

    void event(int vehicle, const QDate &date, int mileage, int done, int remindBy, const QString &text)
    {
        db_.execute(QStringLiteral("INSERT INTO DOC_EVENTS (datedoc, idauto,mileage, ENDE, idtype,opisanie )\n"
                                   "values ( %1,%2,%3,%4,%5,\"%6\")")
                        .arg(dateLiteral(date))
                        .arg(vehicle)
                        .arg(mileage)
                        .arg(done)
                        .arg(remindBy)
                        .arg(text));
    }

    void writeVehicle(int key, const DemoVehicle &vehicle)
    {
        db_.execute(QStringLiteral("INSERT INTO SPR_AUTO (nameauto, beginkm, begindate) VALUES (\"%1\", %2, %3)")
                        .arg(QString::fromUtf8(vehicle.name))
                        .arg(vehicle.startKm)
                        .arg(dateLiteral(start_)));
        int km = vehicle.startKm;
        double sinceFuel = 0;
        int sinceService = 0;
        double price = 51.9;
        bool serviceEventDone = false;
        int lastMonth = start_.month();
        for (QDate day = start_.addDays(between(0, 2)); day <= today_; day = day.addDays(between(1, vehicle.maxGap))) {
            const int driven = between(vehicle.minDaily, vehicle.maxDaily);
            km += driven;
            sinceFuel += driven;
            sinceService += driven;
            db_.execute(
                QStringLiteral("INSERT INTO DOC_MILEAGE (datedoc, idauto,tekprobeg, raznica)\nvalues ( %1,%2,%3,%4)")
                    .arg(dateLiteral(day))
                    .arg(key)
                    .arg(km)
                    .arg(driven));
            if (sinceFuel >= 450) {
                const double litres = std::round(sinceFuel * vehicle.litresPer100km / 10.0) / 10.0;
                price += 0.02 * between(0, 5);
                expense(key, day, Fuel, litres, std::round(litres * price * 100) / 100,
                        QStringLiteral("АИ-95, %1 руб/л").arg(QString::number(price, 'f', 2).replace(u'.', u',')));
                sinceFuel = 0;
            }
            if (day.month() != lastMonth) {
                lastMonth = day.month();
                expense(key, day, Parking, 1, key == 1 ? 3000 : 2500, QStringLiteral("Стоянка за месяц"));
                if (day.month() % 2 == 0)
                    expense(key, day, Wash, 1, between(4, 7) * 100, QStringLiteral("Мойка кузова"));
                if (day.month() == 4 || day.month() == 10)
                    expense(key, day, Tyres, 4, between(20, 32) * 100,
                            day.month() == 4 ? QStringLiteral("Летняя резина") : QStringLiteral("Зимняя резина"));
            }
            if (sinceService >= 7500) {
                expense(key, day, Service, 1, between(85, 150) * 100, QStringLiteral("ТО, замена масла и фильтров"));
                event(key, day, km, 1, 1, QStringLiteral("Плановое ТО"));
                sinceService = 0;
                serviceEventDone = true;
            }
        }
        expense(key, start_.addDays(20), Insurance, 1, key == 1 ? 9800 : 12400, QStringLiteral("Полис ОСАГО"));
        event(key, start_.addYears(1).addDays(19), 0, 0, 0, QStringLiteral("Продлить полис ОСАГО"));
        event(key, today_.addDays(between(10, 40)), 0, 0, 0, QStringLiteral("Сезонная замена шин"));
        event(key, today_, km + 7500 - sinceService, 0, 1, QStringLiteral("Следующее ТО"));
        if (!serviceEventDone)
            event(key, start_.addDays(30), vehicle.startKm + 500, 1, 1, QStringLiteral("Замена масла"));
    }

    Connection &db_;
    QDate today_;
    QDate start_;
    QRandomGenerator random_;
};

}  // namespace

void fillDemo(Connection &connection, const QDate &today)
{
    connection.execute(QStringLiteral("BEGIN"));
    try {
        DemoWriter(connection, today).run();
    } catch (...) {
        connection.execute(QStringLiteral("ROLLBACK"));
        throw;
    }
    connection.execute(QStringLiteral("COMMIT"));
}

}  // namespace vornak::log_book
