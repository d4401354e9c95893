#pragma once

#include "data/field.h"

namespace vornak {

// A 32-bit signed integer column.
class TIntegerField : public TField {
public:
    TIntegerField()
        : TField(taRightJustify)
    {
    }
    QString DataTypeName() const override { return QStringLiteral("Integer"); }
    bool AcceptsColumn(ColumnKind kind) const override { return kind == ColumnKind::Integer; }
    bool IsValidChar(QChar c) const override;
    QString AsString() const override;

protected:
    Variant FromText(const QString &text) const override;
    Variant FromInteger(int value) const override { return Variant(value); }
    Variant FromFloat(double value) const override;
    Variant FromDateTime(double value) const override { return FromFloat(value); }
};

// The integer key the engine assigns on insert.
class TAutoIncField : public TIntegerField {
public:
    QString DataTypeName() const override { return QStringLiteral("AutoInc"); }
    bool AcceptsColumn(ColumnKind kind) const override { return kind == ColumnKind::AutoIncrement; }
    bool CanBeCalculated() const override { return false; }
};

// A double-precision column.
class TFloatField : public TField {
public:
    TFloatField()
        : TField(taRightJustify)
    {
    }
    // Significant digits of the display text.
    int Precision = 15;

    QString DataTypeName() const override { return QStringLiteral("Float"); }
    bool AcceptsColumn(ColumnKind kind) const override { return kind == ColumnKind::Float; }
    bool IsValidChar(QChar c) const override;
    QString AsString() const override;

protected:
    Variant FromText(const QString &text) const override;
    Variant FromInteger(int value) const override { return Variant(double(value)); }
    Variant FromFloat(double value) const override { return Variant(value); }
    Variant FromDateTime(double value) const override { return Variant(value); }
};

// A date-time column held as days since 1899-12-30, the time of day as the fraction.
class TDateTimeField : public TField {
public:
    TDateTimeField()
        : TField(taLeftJustify)
    {
    }
    QString DataTypeName() const override { return QStringLiteral("DateTime"); }
    bool AcceptsColumn(ColumnKind kind) const override { return kind == ColumnKind::DateTime; }
    QString AsString() const override;
    double AsDateTime() const override;

protected:
    int DefaultDisplayWidth() const override { return 18; }
    Variant FromText(const QString &text) const override;
    Variant FromInteger(int value) const override { return Variant::fromDateTime(value); }
    Variant FromFloat(double value) const override { return Variant::fromDateTime(value); }
    Variant FromDateTime(double value) const override { return Variant::fromDateTime(value); }
};

// A text column of bounded size; also the class of calculated text fields.
class TStringField : public TField {
public:
    TStringField()
        : TField(taLeftJustify)
    {
        Size = 20;
    }
    QString DataTypeName() const override { return QStringLiteral("String"); }
    bool AcceptsColumn(ColumnKind kind) const override { return kind == ColumnKind::Text; }
    QString AsString() const override { return Value().toString(); }

protected:
    int DefaultDisplayWidth() const override { return Size; }
    Variant FromText(const QString &text) const override { return Variant(text); }
    Variant FromInteger(int value) const override { return Variant(QString::number(value)); }
    Variant FromFloat(double value) const override;
    Variant FromDateTime(double value) const override;
};

// A Unicode text column of bounded size.
class TWideStringField : public TStringField {
public:
    QString DataTypeName() const override { return QStringLiteral("WideString"); }
};

}  // namespace vornak
