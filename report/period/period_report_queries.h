#pragma once

// The period report's run for one vehicle and period: the texts of the four report queries of
// the data module (QueryBegin, QueryOborot, QueryEnde and ADOQuery1) and of the run's own vehicle
// query, the period caption and the five-line script that hands the caption to the report.
//
// Dates go into the queries as month-first literals (#11/05/2011# for 5 November 2011) whatever
// the regional settings; the caption uses the user's short date format.

#include <QDate>
#include <QString>
#include <QStringList>

namespace vornak {

class TADOQuery;

// "#MM/dd/yyyy#".
QString ReportDateLiteral(const QDate &date);

// The lines of each report query for the vehicle `vehicleId` (its key as text) and the period.
struct PeriodReportQueries {
    QStringList Auto;    // the vehicle's row: its name for the title
    QStringList Begin;   // km1: the distances before the first day
    QStringList Oborot;  // sm: the distances from the first to the last day
    QStringList Ende;    // sm: the distances up to the last day
    QStringList Sums;    // opisanie, s2, s3: one row per expense type that sums to more than 0
};
PeriodReportQueries periodReportQueries(const QString &vehicleId, const QDate &first, const QDate &last);

// "период с <first> по <last>", the dates in the user's short date format.
QString PeriodCaption(const QDate &first, const QDate &last);
// The report script that defines the report variable str as the period caption.
QStringList PeriodReportScript(const QDate &first, const QDate &last);

// Closes `query` and replaces its statement by `lines`.
void Rewrite(TADOQuery &query, const QStringList &lines);
// Rewrites `query` and opens it; the engine's error passes.
void RewriteAndOpen(TADOQuery &query, const QStringList &lines);

}  // namespace vornak
