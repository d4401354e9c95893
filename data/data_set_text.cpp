// The table behind dataSetText: every message a dataset or one of its fields raises, once.
#include "data/data_set_text.h"

#include <QHash>

namespace vornak {

namespace {

struct TextRow {
    const char *key;
    const char *text;
};

constexpr TextRow dataSetTexts[] = {
    // Opening: binding the declared fields to the result's columns.
    {"fieldNotFound", "Field '%1' not found"},
    {"fieldCannotBeCalculated", "Field '%1' cannot be a calculated or lookup field"},
    {"fieldTypeMismatch", "Type mismatch for field '%1', expecting: %2 actual: %3"},
    {"noConnection", "Missing Connection or ConnectionString"},
    {"noResultSet", "CommandText does not return a result set"},

    // Operations in the wrong state.
    {"dataSetClosed", "Cannot perform this operation on a closed dataset"},
    {"dataSetEmpty", "Cannot perform this operation on an empty dataset"},
    {"dataSetReadOnly", "Cannot modify a read-only dataset"},
    {"notEditing", "Dataset not in edit or insert mode"},
    {"recordNotFound", "Record not found"},

    // Fields.
    {"fieldWithoutDataSet", "Field '%1' has no dataset"},
    {"fieldReadOnly", "Field '%1' cannot be modified"},
    {"notAnInteger", "'%1' is not a valid integer value for field '%2'"},
    {"notAFloat", "'%1' is not a valid floating point value for field '%2'"},
    {"notADateTime", "''%1'' is not a valid date and time"},
};

}  // namespace

QString dataSetText(const char *key)
{
    static const QHash<QByteArray, QString> texts = [] {
        QHash<QByteArray, QString> table;
        for (const TextRow &row : dataSetTexts)
            table.insert(QByteArray(row.key), QString::fromUtf8(row.text));
        return table;
    }();
    return texts.value(QByteArray(key), QString::fromUtf8(key));
}

}  // namespace vornak
