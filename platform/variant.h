#pragma once

#include <QString>
#include <variant>

namespace vornak {

// One value of the data layer, the report data sources, expressions and scripts.
class Variant {
public:
    enum class Type { Null, Boolean, Integer, Int64, Float, Currency, DateTime, String };

    Variant() = default;
    Variant(bool value)
        : value_(value)
    {
    }
    Variant(int value)
        : value_(qint32(value))
    {
    }
    Variant(qint64 value)
        : value_(value)
    {
    }
    Variant(double value)
        : value_(value)
    {
    }
    Variant(const QString &value)
        : value_(value)
    {
    }
    Variant(QString &&value)
        : value_(std::move(value))
    {
    }
    Variant(const char *) = delete;  // say QStringLiteral or QString::fromUtf8

    static Variant fromDateTime(double days) { return Variant(DateTimeValue{days}); }
    // Currency is a fixed-point amount with four decimals; `scaled` is the amount times 10000.
    static Variant fromCurrencyScaled(qint64 scaled) { return Variant(CurrencyValue{scaled}); }
    static Variant fromCurrency(double amount);

    Type type() const { return Type(value_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isNumeric() const;  // Integer, Int64, Float or Currency
    bool isString() const { return type() == Type::String; }

    // Conversions. Null gives false, 0, 0.0 and the empty text; a value that cannot be
    // converted raises ConversionError.
    bool toBool() const;
    int toInt() const;  // floats: nearest integer, halves to even
    qint64 toInt64() const;
    double toDouble() const;    // date-times: their day count
    double toDateTime() const;  // texts: a regional date
    qint64 toCurrencyScaled() const;
    // The platform's value-to-text rules: integers in decimal, floats in general format with 15
    // significant digits and the regional decimal separator, currency with at most four
    // decimals, date-times as the regional short date (and long time when not midnight),
    // Booleans as "True" or "False".
    QString toString() const;

    static QString typeName(Type type);

    // Same type and same value (a strict identity, not the script's "=").
    bool operator==(const Variant &other) const { return value_ == other.value_; }

private:
    struct DateTimeValue {
        double days;
        bool operator==(const DateTimeValue &) const = default;
    };
    struct CurrencyValue {
        qint64 scaled;
        bool operator==(const CurrencyValue &) const = default;
    };
    explicit Variant(DateTimeValue value)
        : value_(value)
    {
    }
    explicit Variant(CurrencyValue value)
        : value_(value)
    {
    }

    [[noreturn]] void failConversion(Type to) const;

    std::variant<std::monostate, bool, qint32, qint64, double, CurrencyValue, DateTimeValue, QString> value_;
};

}  // namespace vornak

// Every alternative (plain values and QString) may be moved in memory as bytes, so lists of values
// grow by reallocating instead of moving each value: reading a long result grows one such list.
Q_DECLARE_TYPEINFO(vornak::Variant, Q_RELOCATABLE_TYPE);
