#include "report/model/data_set.h"

#include "platform/errors.h"
#include "report/model/property_builder.h"
#include "report/model/report.h"
#include "report/script/report_text.h"

#include <QMutex>
#include <QMutexLocker>

namespace vornak {

namespace {

QMutex &globalListLock()
{
    static QMutex lock;
    return lock;
}

QList<TfrxDataSet *> &globalList()
{
    static QList<TfrxDataSet *> list;
    return list;
}

}  // namespace

TfrxDataSet::TfrxDataSet(TfrxComponent *owner)
    : TfrxDialogComponent(owner)
{
    QMutexLocker locker(&globalListLock());
    globalList().append(this);
}

TfrxDataSet::~TfrxDataSet()
{
    QMutexLocker locker(&globalListLock());
    globalList().removeOne(this);
}

QList<TfrxDataSet *> TfrxDataSet::GlobalList()
{
    QMutexLocker locker(&globalListLock());
    return globalList();
}

void TfrxDataSet::SetName(const QString &name)
{
    const QString old = Name();
    TfrxDialogComponent::SetName(name);
    if ((userName_.isEmpty() || userName_ == old) && !name.isEmpty())
        userName_ = name;
}

void TfrxDataSet::SetUserName(const QString &value)
{
    if (value.trimmed().isEmpty())
        throw EngineError(reportText("badUserName"));
    userName_ = value;
}

QString TfrxDataSet::DisplayText(const QString &field)
{
    return QString();
}

int TfrxDataSet::DisplayWidth(const QString &field)
{
    return 10;
}

TfrxFieldType TfrxDataSet::FieldType(const QString &field)
{
    return fftNumeric;
}

Variant TfrxDataSet::Value(const QString &field)
{
    return Variant();
}

void TfrxDataSet::First()
{
    recNo_ = 0;
    eof_ = false;
    if (OnFirst)
        OnFirst(*this);
}

void TfrxDataSet::Next()
{
    eof_ = false;
    ++recNo_;
    if (rangeEnd_ == reCount && recNo_ >= rangeEndCount_) {
        recNo_ = rangeEndCount_ - 1;
        eof_ = true;
    } else if (OnNext) {
        OnNext(*this);
    }
}

void TfrxDataSet::Prior()
{
    --recNo_;
    if (OnPrior)
        OnPrior(*this);
}

bool TfrxDataSet::Eof()
{
    bool result = false;
    if (rangeEnd_ == reCount)
        result = recNo_ >= rangeEndCount_ || eof_;
    if (OnCheckEOF)
        OnCheckEOF(*this, result);
    return result;
}

int TfrxDataSet::FieldsCount()
{
    QStringList fields;
    GetFieldList(fields);
    return int(fields.size());
}

bool TfrxDataSet::HasField(const QString &field)
{
    QStringList fields;
    GetFieldList(fields);
    return fields.contains(field, Qt::CaseInsensitive);
}

const TfrxPropertyList &TfrxDataSet::ClassProperties()
{
    using C = TfrxDataSet;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxDialogComponent::ClassProperties();
        TfrxPropertyInfo userName = FRX_TEXT(C, UserName);
        // Stored when it differs from the component name.
        userName.defaultOf = [](const TfrxComponent &o) { return Variant(o.Name()); };
        l << userName << FRX_BOOL(C, Enabled, true)
          << FRX_ENUM(C, RangeBegin, TfrxRangeBegin, rbFirst, QStringLiteral("rbFirst"), QStringLiteral("rbCurrent"))
          << FRX_ENUM(C, RangeEnd, TfrxRangeEnd, reLast, QStringLiteral("reLast"), QStringLiteral("reCurrent"),
                      QStringLiteral("reCount"))
          << FRX_INT(C, RangeEndCount, 0);
        return l;
    }();
    return list;
}

void TfrxDataSetBinding::SetDataSet(TfrxDataSet *value)
{
    dataSet_ = value;
    name_ = value ? value->UserName() : QString();
}

QString TfrxDataSetBinding::Name() const
{
    return dataSet_ ? dataSet_->UserName() : name_;
}

void TfrxDataSetBinding::SetName(const QString &name, const TfrxReport *report)
{
    name_ = name;
    dataSet_ = frxFindDataSet(dataSet_, name, report);
}

TfrxDataSet *frxFindDataSet(TfrxDataSet *current, const QString &name, const TfrxReport *report)
{
    if (name.isEmpty())
        return nullptr;
    if (!report)
        return current;
    if (report->EngineOptions.UseGlobalDataSetList) {
        for (TfrxDataSet *dataSet : TfrxDataSet::GlobalList()) {
            const TfrxReport *owner = dataSet->Report();
            if (owner && owner != report)
                continue;
            if (dataSet->UserName().compare(name, Qt::CaseInsensitive) == 0)
                return dataSet;
        }
        return current;
    }
    for (TfrxDataSet *dataSet : report->EnabledDataSets())
        if (dataSet->UserName().compare(name, Qt::CaseInsensitive) == 0)
            return dataSet;
    return nullptr;
}

}  // namespace vornak
