#pragma once

#include <QString>

namespace vornak {

class TfrxReport;

// Writes a report in the template text form read by TfrxTemplateReader.
class TfrxTemplateWriter {
public:
    QString Write(const TfrxReport &report) const;
};

}  // namespace vornak
