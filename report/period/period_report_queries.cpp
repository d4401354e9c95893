#include "report/period/period_report_queries.h"

#include "data/ado_query.h"
#include "platform/date_time.h"

namespace vornak {

namespace {

// A date literal without its number signs, as the query lines write it between their own.
QString bare(const QDate &date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

}  // namespace

QString ReportDateLiteral(const QDate &date)
{
    return QLatin1Char('#') + bare(date) + QLatin1Char('#');
}

PeriodReportQueries periodReportQueries(const QString &vehicleId, const QDate &first, const QDate &last)
{
    const QString d1 = bare(first);
    const QString d2 = bare(last);
    const QString vehicle = QStringLiteral("and doc_mileage.idauto = ") + vehicleId;
    const QString sumOfType = QStringLiteral("(SELECT Sum(DOC_EXPENSE.SUMMA )FROM DOC_EXPENSE");
    const QString ofType = QStringLiteral("WHERE doc_expense.idtype = [sys_type_expense.id] and DOC_EXPENSE.DATEDOC ");
    const QString inPeriod = ofType + QStringLiteral("Between #") + d1 + QStringLiteral("# And #") + d2 +
                             QStringLiteral("# AND DOC_EXPENSE.IDAUTO=") + vehicleId + QStringLiteral(" )");
    const QString afterPeriod = ofType + QStringLiteral(">#") + d2 + QStringLiteral("# AND DOC_EXPENSE.IDAUTO=") +
                                vehicleId + QStringLiteral(" )");

    PeriodReportQueries queries;
    queries.Auto = {QStringLiteral("select * from SPR_AUTO where id = ") + vehicleId};
    queries.Begin = {QStringLiteral("select sum(doc_mileage.raznica) as km1 from doc_mileage WHERE "
                                    "doc_mileage.datedoc <#") +
                     d1 + QStringLiteral("# and doc_mileage.idauto = ") + vehicleId};
    queries.Oborot = {QStringLiteral("SELECT Sum(doc_mileage.raznica) as sm"), QStringLiteral("FROM doc_mileage"),
                      QStringLiteral("WHERE doc_mileage.datedoc between #") + d1 + QStringLiteral("# and #") + d2 +
                          QLatin1Char('#'),
                      vehicle};
    queries.Ende = {QStringLiteral("SELECT Sum(doc_mileage.raznica) as sm"), QStringLiteral("FROM doc_mileage"),
                    QStringLiteral("WHERE doc_mileage.datedoc <=#") + d2 + QLatin1Char('#'), vehicle};
    queries.Sums = {QStringLiteral("select sys_type_expense.opisanie ,"),
                    sumOfType,
                    inPeriod + QStringLiteral(" AS s2,"),
                    sumOfType,
                    afterPeriod + QStringLiteral(" AS s3"),
                    QStringLiteral("FROM sys_type_expense"),
                    QStringLiteral("where ") + sumOfType,
                    inPeriod + QStringLiteral(" >0"),
                    QStringLiteral("ORDER BY sys_type_expense.opisanie;")};
    return queries;
}

QString PeriodCaption(const QDate &first, const QDate &last)
{
    return QStringLiteral("период с ") + date_time::toDateText(date_time::encode(first)) + QStringLiteral(" по ") +
           date_time::toDateText(date_time::encode(last));
}

QStringList PeriodReportScript(const QDate &first, const QDate &last)
{
    return {QStringLiteral("var"), QStringLiteral("str: string;"), QStringLiteral("begin"),
            QStringLiteral("str := '") + PeriodCaption(first, last) + QStringLiteral("';"), QStringLiteral("end.")};
}

void Rewrite(TADOQuery &query, const QStringList &lines)
{
    query.Close();
    query.SQL.Clear();
    for (const QString &line : lines)
        query.SQL.Add(line);
}

void RewriteAndOpen(TADOQuery &query, const QStringList &lines)
{
    Rewrite(query, lines);
    query.Open();
}

}  // namespace vornak
