#include "tools/list_export.h"

#include "data/data_module.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "tools/log_book_schema.h"

#include <algorithm>

namespace vornak::log_book {

namespace {

// A list of the main window: the data module's dataset behind it, whether it follows the current
// vehicle, and its columns (the keys first).
struct ListRow {
    const char *name;
    TDataSet *(*dataSet)(TDataModule1 &);
    bool perVehicle;
    QList<const char *> fields;
};

const ListRow lists[] = {
    {"vehicles",
     [](TDataModule1 &m) -> TDataSet * { return m.TableSprAuto; },
     false,
     {"id", "nameauto", "beginkm", "begindate"}},
    {"readings",
     [](TDataModule1 &m) -> TDataSet * { return m.QueryDocMileage; },
     true,
     {"id", "idauto", "datedoc", "tekprobeg", "raznica"}},
    {"expenses",
     [](TDataModule1 &m) -> TDataSet * { return m.QueryDocExpense; },
     true,
     {"ID", "IDAUTO", "IDTYPE", "DATEDOC", "KOLVO", "SUMMA", "typename", "OPISANIE"}},
    {"events",
     [](TDataModule1 &m) -> TDataSet * { return m.QueryDocEvents; },
     true,
     {"id", "idauto", "datedoc", "mileage", "gotovo_end", "typs", "opisanie"}},
    {"expense-types", [](TDataModule1 &m) -> TDataSet * { return m.TableTYPE_EXPENSE; }, false, {"ID", "OPISANIE"}},
};

const QString lineEnd = QStringLiteral("\r\n");

QString csvValue(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        return {};
    case Variant::Type::DateTime: {
        const double days = value.toDouble();
        if (!date_time::isInRange(days))
            return {};  // names no date, as in the grids
        const QDateTime moment = date_time::decode(days);
        return date_time::isMidnight(days) ? moment.date().toString(Qt::ISODate) : moment.toString(Qt::ISODate);
    }
    case Variant::Type::Float:
    case Variant::Type::Currency:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted.append(csvField(field));
    return quoted.join(u',') + lineEnd;
}

QString recordLine(TDataSet &dataSet, const ListRow &list)
{
    QStringList values;
    for (const char *field : list.fields)
        values.append(csvValue(dataSet.FieldByName(QLatin1String(field))->Value()));
    return csvLine(values);
}

void appendAll(QString &text, TDataSet &dataSet, const ListRow &list)
{
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        text += recordLine(dataSet, list);
}

const ListRow &listNamed(const QString &name)
{
    for (const ListRow &list : lists)
        if (name == QLatin1String(list.name))
            return list;
    throw Error(QStringLiteral("There is no list '%1'; the lists are: %2.").arg(name, listNames().join(u", ")));
}

}  // namespace

QStringList listNames()
{
    QStringList names;
    for (const ListRow &list : lists)
        names.append(QLatin1String(list.name));
    return names;
}

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QByteArray exportList(const QString &file, const QString &listName, const QString &vehicle)
{
    const ListRow &list = listNamed(listName);
    TDataModule1 dataModule(connectionString(file, Access::ReadOnly));
    TDataSet &dataSet = *list.dataSet(dataModule);
    TDataSet &vehicles = *dataModule.TableSprAuto;

    QStringList header;
    for (const char *field : list.fields)
        header.append(QString::fromLatin1(field).toLower());
    QString text = csvLine(header);

    if (!vehicle.isEmpty()) {
        if (!list.perVehicle && &dataSet != &vehicles)
            throw Error(QStringLiteral("The list '%1' belongs to no vehicle.").arg(listName));
        dataModule.selectVehicle(vehicle);
        if (&dataSet == &vehicles)
            text += recordLine(vehicles, list);
        else
            appendAll(text, dataSet, list);
    } else if (!list.perVehicle) {
        appendAll(text, dataSet, list);
    } else {
        // Each vehicle in turn; its lists follow it as in the main window.
        for (vehicles.First(); !vehicles.Eof(); vehicles.Next())
            appendAll(text, dataSet, list);
    }
    return text.toUtf8();
}

}  // namespace vornak::log_book
