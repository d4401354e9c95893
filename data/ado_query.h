#pragma once

#include "data/custom_ado_data_set.h"
#include "data/string_list.h"

#include <QStringList>

namespace vornak {

// A dataset over the result of an SQL statement held as text lines; the statement can also be
// executed without a result (ExecSQL).
class TADOQuery : public TCustomADODataSet {
public:
    explicit TADOQuery(TComponent *owner = nullptr);

    // Every change of the lines closes the query (unless its owner is loading) and renews the
    // command text.
    TStringList SQL;
    // Scan the text for parameter markers.
    bool ParamCheck = true;

    // The text given to the engine: the lines, each followed by CR LF, markers replaced by "?".
    const QString &CommandText() const { return commandText_; }
    // The names of the parameter markers found in the text.
    const QStringList &Parameters() const { return parameters_; }

    // Executes the text once and returns the number of rows affected; the query stays closed.
    int ExecSQL();

protected:
    std::unique_ptr<ResultSet> OpenCursor() override;

private:
    void SQLChanged();

    QString text_;
    QString commandText_;
    QStringList parameters_;
};

}  // namespace vornak
