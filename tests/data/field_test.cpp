#include "data/ado_table.h"
#include "platform/errors.h"
#include "tests/data/data_test_support.h"

#include <gtest/gtest.h>

using namespace vornak;
using namespace vornak::testing;

namespace {

// One expense row in a table whose fields are created at open: IDTYPE integer, KOLVO and SUMMA
// float, DATEDOC date-time, OPISANIE text.
struct ExpenseRow {
    LogBookFile file;
    TADOTable table;

    ExpenseRow()
    {
        file.execute(QStringLiteral("INSERT INTO DOC_EXPENSE (IDTYPE, IDAUTO, DATEDOC, KOLVO, SUMMA, OPISANIE) "
                                    "VALUES (1, 1, '13.11.2011', 2, 3, 'x')"));
        table.Name = QStringLiteral("Expenses");
        table.Connection = &file.connection;
        table.TableName = QStringLiteral("DOC_EXPENSE");
        table.Open();
        table.Edit();
    }
    TField &field(const char *name) { return *table.FieldByName(QString::fromUtf8(name)); }
};

struct TextCase {
    const char *field;
    const char *assigned;
    const char *shown;  // the display text afterwards, or
    const char *error;  // the failure text
};

class FieldText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FieldText, ConvertsAssignedTextOrRefusesIt)
{
    const TextCase &c = GetParam();
    ExpenseRow row;
    TField &field = row.field(c.field);
    const QString before = field.DisplayText();
    if (c.error) {
        try {
            field.SetText(QString::fromUtf8(c.assigned));
            FAIL() << "accepted";
        } catch (const ConversionError &error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.error));
        }
        EXPECT_EQ(field.DisplayText(), before);
    } else {
        field.SetText(QString::fromUtf8(c.assigned));
        EXPECT_EQ(field.DisplayText(), QString::fromUtf8(c.shown));
        EXPECT_EQ(field.Text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(field.IsNull(), *c.assigned == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FieldText,
    ::testing::Values(TextCase{"IDTYPE", "-12", "-12", nullptr}, TextCase{"IDTYPE", " +7", "7", nullptr},
                      TextCase{"IDTYPE", "", "", nullptr},
                      TextCase{"IDTYPE", "2147483648", nullptr,
                               "'2147483648' is not a valid integer value for field 'IDTYPE'"},
                      TextCase{"IDTYPE", "--1", nullptr, "'--1' is not a valid integer value for field 'IDTYPE'"},
                      TextCase{"IDTYPE", "1,5", nullptr, "'1,5' is not a valid integer value for field 'IDTYPE'"},
                      TextCase{"SUMMA", "1234,5", "1234,5", nullptr}, TextCase{"SUMMA", "0,1", "0,1", nullptr},
                      TextCase{"SUMMA", "1,23456789012345678", "1,23456789012346", nullptr},
                      TextCase{"SUMMA", "-2,50", "-2,5", nullptr}, TextCase{"SUMMA", "1E20", "1E20", nullptr},
                      TextCase{"SUMMA", "", "", nullptr},
                      TextCase{"SUMMA", "1.5", nullptr, "'1.5' is not a valid floating point value for field 'SUMMA'"},
                      TextCase{"SUMMA", "12a", nullptr, "'12a' is not a valid floating point value for field 'SUMMA'"},
                      TextCase{"DATEDOC", "13.11.2011", "13.11.2011", nullptr},
                      TextCase{"DATEDOC", "13.11.2011 7:05:09", "13.11.2011 7:05:09", nullptr},
                      TextCase{"DATEDOC", "13.11.2011 00:00:00", "13.11.2011", nullptr},
                      TextCase{"DATEDOC", "", "", nullptr},
                      TextCase{"DATEDOC", "31.02.2011", nullptr, "''31.02.2011'' is not a valid date and time"},
                      TextCase{"DATEDOC", "завтра", nullptr, "''завтра'' is not a valid date and time"},
                      TextCase{"OPISANIE", "Масло, 5 л", "Масло, 5 л", nullptr}));

TEST(FieldValues, NumbersRoundHalvesToEvenAndNullReadsAsZero)
{
    ExpenseRow row;
    TField &summa = row.field("SUMMA");
    TField &idtype = row.field("IDTYPE");
    summa.SetAsFloat(2.5);
    EXPECT_EQ(summa.AsInteger(), 2);
    summa.SetAsFloat(3.5);
    EXPECT_EQ(summa.AsInteger(), 4);
    idtype.SetAsFloat(2.5);
    EXPECT_EQ(idtype.AsString(), QStringLiteral("2"));
    summa.Clear();
    idtype.Clear();
    EXPECT_EQ(summa.AsInteger(), 0);
    EXPECT_EQ(summa.AsFloat(), 0.0);
    EXPECT_EQ(summa.AsString(), QString());
    EXPECT_EQ(idtype.AsInteger(), 0);
    EXPECT_EQ(idtype.AsString(), QString());
    TField &date = row.field("DATEDOC");
    date.SetAsDateTime(40860.75);
    EXPECT_EQ(date.DisplayText(), QStringLiteral("13.11.2011 18:00:00"));
    date.Clear();
    EXPECT_EQ(date.AsDateTime(), 0.0);
}

TEST(FieldValues, CreatedFieldsTakeTheKindOfTheirColumn)
{
    ExpenseRow row;
    const QStringList expected = {QStringLiteral("ID:AutoInc"),         QStringLiteral("IDTYPE:Integer"),
                                  QStringLiteral("IDAUTO:Integer"),     QStringLiteral("DATEDOC:DateTime"),
                                  QStringLiteral("KOLVO:Float"),        QStringLiteral("SUMMA:Float"),
                                  QStringLiteral("OPISANIE:WideString")};
    QStringList actual;
    for (const TField *field : row.table.Fields())
        actual.append(field->FieldName + u':' + field->DataTypeName());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(row.field("OPISANIE").Size, 255);
    EXPECT_EQ(row.field("SUMMA").Alignment(), taRightJustify);
    EXPECT_EQ(row.field("DATEDOC").DisplayWidth(), 18);
    EXPECT_EQ(row.field("OPISANIE").DisplayWidth(), 255);
    row.table.Close();
    EXPECT_EQ(row.table.FieldCount(), 0);
}

TEST(FieldValues, ValidCharactersFollowTheKind)
{
    TIntegerField integer;
    TFloatField number;
    TStringField text;
    EXPECT_TRUE(integer.IsValidChar(u'-'));
    EXPECT_FALSE(integer.IsValidChar(u','));
    EXPECT_TRUE(number.IsValidChar(u','));
    EXPECT_TRUE(number.IsValidChar(u'E'));
    EXPECT_FALSE(number.IsValidChar(u'.'));
    EXPECT_TRUE(text.IsValidChar(u'ж'));
    EXPECT_EQ(text.Size, 20);
    EXPECT_EQ(text.DisplayWidth(), 20);
}

TEST(FieldValues, FieldWithoutDataSetRefusesEveryOperation)
{
    TIntegerField field;
    field.FieldName = QStringLiteral("km");
    EXPECT_THROW(field.AsInteger(), DatabaseError);
    try {
        field.SetAsInteger(1);
        FAIL();
    } catch (const DatabaseError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Field 'km' has no dataset"));
    }
}

}  // namespace
