#pragma once

// The report operations that start the band engine: preparing the pages (the template saved
// before and restored after, the errors shown once at the end) and showing them in the report's
// preview control.

namespace vornak {

class TfrxReport;

// Prepares the report into its prepared pages store; true on success. On failure the errors are
// shown in one message box titled "Ошибка" (nothing under the silent setting; raised as
// EngineError under the re-raise setting). The pages prepared before an error stay in the store.
// Asked for while a preparation runs, it does nothing and returns false.
bool PrepareReport(TfrxReport &report, bool clearLastReport = true);
// Prepares and shows. Unless OldStyleProgress, shows the (empty) preview at once and prepares
// when the report's timer fires 50 milliseconds later; the result of that preparation is not
// reported back.
void ShowReport(TfrxReport &report, bool clearLastReport = true);
// Gives the report's preview control the report and its prepared pages store.
void ShowPreparedReport(TfrxReport &report);

// Gives the report every stage a preparation needs that it does not have yet: the expression
// cache, the prepared pages store, the text layout engine and the band engine; the store's
// notices while preparing go to the report's preview control, whichever it is at the time.
void InstallReportStages(TfrxReport &report);

}  // namespace vornak
