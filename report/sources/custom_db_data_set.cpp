#include "report/sources/custom_db_data_set.h"

#include "data/data_set.h"
#include "data/field.h"
#include "report/model/property_builder.h"
#include "report/model/report.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <QIODevice>

namespace vornak {

namespace {

// Field kinds by the data type name of the field.
const QStringList &textTypes()
{
    static const QStringList names{QStringLiteral("String"),    QStringLiteral("WideString"),
                                   QStringLiteral("Memo"),      QStringLiteral("WideMemo"),
                                   QStringLiteral("FixedChar"), QStringLiteral("FixedWideChar")};
    return names;
}

const QStringList &blobTypes()
{
    static const QStringList names{QStringLiteral("Blob"),     QStringLiteral("Memo"),
                                   QStringLiteral("WideMemo"), QStringLiteral("Graphic"),
                                   QStringLiteral("FmtMemo"),  QStringLiteral("ParadoxOle"),
                                   QStringLiteral("DBaseOle"), QStringLiteral("TypedBinary")};
    return names;
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

}  // namespace

int TfrxCustomDBDataSet::IndexOfField(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TField *TfrxCustomDBDataSet::FieldOf(const QString &name)
{
    if (fields_.isEmpty()) {
        TDataSet *dataSet = GetDataSet();
        return dataSet ? dataSet->FindField(FieldNameOf(name)) : nullptr;
    }
    const int index = IndexOfField(name);
    return index >= 0 ? fields_.at(index).field : nullptr;
}

QString TfrxCustomDBDataSet::FieldNameOf(const QString &name) const
{
    // An alias stands for the field named before it.
    for (const QString &line : std::as_const(fieldAliases_)) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.mid(eq + 1).compare(name, Qt::CaseInsensitive) == 0)
            return line.left(eq);
    }
    return name;
}

QString TfrxCustomDBDataSet::NotFoundText(const QString &field) const
{
    return reportText("fieldNotFound").arg(UserName(), field);
}

void TfrxCustomDBDataSet::ReportError(const QString &text) const
{
    if (ReportRef)
        ReportRef->AddError(ReportRef->CurObject + QStringLiteral(": ") + text);
}

void TfrxCustomDBDataSet::GetFieldList(QStringList &list)
{
    list.clear();
    if (!fieldAliases_.isEmpty()) {
        for (const QString &line : std::as_const(fieldAliases_)) {
            const qsizetype eq = line.indexOf(u'=');
            const QString name = eq < 0 ? line : line.left(eq);
            if (!name.startsWith(u'-'))
                list.append(eq < 0 ? line : line.mid(eq + 1));
        }
        return;
    }
    TDataSet *dataSet = GetDataSet();
    if (!dataSet)
        return;
    for (const TField *field : dataSet->Fields())
        list.append(field->FieldName);
}

void TfrxCustomDBDataSet::BuildFieldList()
{
    fields_.clear();
    QStringList names;
    GetFieldList(names);
    TDataSet *dataSet = GetDataSet();
    for (const QString &name : std::as_const(names)) {
        const auto less = [](const FieldEntry &e, const QString &n) {
            return e.name.compare(n, Qt::CaseInsensitive) < 0;
        };
        const auto at = std::lower_bound(fields_.begin(), fields_.end(), name, less);
        if (at != fields_.end() && at->name.compare(name, Qt::CaseInsensitive) == 0)
            continue;
        fields_.insert(at, FieldEntry{name, dataSet ? dataSet->FindField(FieldNameOf(name)) : nullptr});
    }
}

Variant TfrxCustomDBDataSet::Value(const QString &field)
{
    Open();
    const int index = IndexOfField(field);
    if (index < 0) {
        ReportError(NotFoundText(field));
        return Variant();
    }
    const TField *f = fields_.at(index).field;
    if (!f || f->IsNull())
        return Variant();
    const QString type = f->DataTypeName();
    if (type == u"FMTBcd")
        return BcdAsCurrency() ? Variant::fromCurrency(f->AsFloat()) : Variant(f->AsFloat());
    if (type == u"LargeInt")
        return Variant(f->Value().toInt64());
    if (type == u"TimeStamp")
        return Variant::fromDateTime(f->AsDateTime());
    if (blobTypes().contains(type))
        return Variant(f->AsString());
    return f->Value();
}

QString TfrxCustomDBDataSet::DisplayText(const QString &field)
{
    Open();
    TDataSet *dataSet = GetDataSet();
    if (!dataSet || !dataSet->Active())
        return UserName() + u'.' + quoted(field);
    if (!fields_.isEmpty()) {
        const int index = IndexOfField(field);
        if (index < 0) {
            ReportError(NotFoundText(field));
            return NotFoundText(field);
        }
        const TField *f = fields_.at(index).field;
        if (!f)
            return QString();
        if (f->DataTypeName() == u"WideString")
            return f->Value().toString();
        return f->DisplayText();
    }
    return dataSet->FieldByName(field)->DisplayText();
}

int TfrxCustomDBDataSet::DisplayWidth(const QString &field)
{
    // The data layer creates every field of a dataset when it opens, so the field itself (or a
    // persistent field of a closed dataset) gives the width.
    if (const TField *f = FieldOf(field))
        return f->DisplayWidth();
    return 10;
}

TfrxFieldType TfrxCustomDBDataSet::FieldType(const QString &field)
{
    const TField *f = FieldOf(field);
    if (!f)
        return fftNumeric;
    const QString type = f->DataTypeName();
    if (textTypes().contains(type))
        return fftString;
    if (type == u"Boolean")
        return fftBoolean;
    return fftNumeric;
}

bool TfrxCustomDBDataSet::IsBlobField(const QString &field)
{
    const TField *f = FieldOf(field);
    return f && blobTypes().contains(f->DataTypeName());
}

void TfrxCustomDBDataSet::AssignBlobTo(const QString &field, QStringList &target)
{
    target.clear();
    if (const TField *f = FieldOf(field))
        target = f->AsString().split(QStringLiteral("\r\n"));
}

void TfrxCustomDBDataSet::AssignBlobTo(const QString &field, QIODevice &target)
{
    if (const TField *f = FieldOf(field))
        target.write(f->AsString().toUtf8());
}

int TfrxCustomDBDataSet::RecordCount()
{
    Open();
    TDataSet *dataSet = GetDataSet();
    return dataSet ? dataSet->RecordCount() : 0;
}

const TfrxPropertyList &TfrxCustomDBDataSet::ClassProperties()
{
    using C = TfrxCustomDBDataSet;
    using B = PropertyBuilder<C>;
    static const TfrxPropertyList list =
        TfrxDataSet::ClassProperties() +
        TfrxPropertyList{
            FRX_BOOL(C, CloseDataSource, std::nullopt),
            FRX_BOOL(C, OpenDataSource, true),
            B::Lines(
                QStringLiteral("FieldAliases.Text"), [](const C &o) { return o.FieldAliases(); },
                [](C &o, QStringList v) { o.SetFieldAliases(v); }),
        };
    return list;
}

}  // namespace vornak
