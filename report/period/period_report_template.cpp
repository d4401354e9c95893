#include "report/period/period_report_template.h"

#include "platform/errors.h"
#include "report/script/report_text.h"

#include <QFile>

static void initPeriodReportResource()
{
    Q_INIT_RESOURCE(period_report);
}

namespace vornak {

QString PeriodReportTemplateText()
{
    initPeriodReportResource();
    QFile file(QStringLiteral(":/report/period_report.xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(reportText("templateNotFound"));
    return QString::fromUtf8(file.readAll());
}

void LoadPeriodReportTemplate(TfrxReport &report, const TfrxTemplateLinks &links)
{
    TfrxTemplateReader(links).Read(PeriodReportTemplateText(), report);
}

}  // namespace vornak
