#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

namespace vornak {

// The user's regional conventions. Format strings use the tokens d, dd, M, MM, yy, yyyy for
// dates and H, HH, h, hh, m, mm, s, ss, AP for times; any other character stands for itself.
struct RegionalSettings {
    QString shortDateFormat;  // "dd.MM.yyyy"
    QString longTimeFormat;   // "H:mm:ss"
    QChar dateSeparator;      // '.'
    QChar timeSeparator;      // ':'
    QChar decimalSeparator;   // ','
    QChar thousandSeparator;  // U+00A0

    // Russian conventions: the fallback for the C and POSIX locales, and what tests pin.
    static RegionalSettings russian();
    // Read from the system locale (Russian conventions when that is C or POSIX).
    static RegionalSettings fromSystem();
    // The locale whose conventions are in force: `system` itself, or Russia's when that is C or POSIX.
    static QLocale conventionsLocale(const QLocale &system);

    // The settings in force for the process; read from the system on first use.
    static const RegionalSettings &current();
    static void setCurrent(const RegionalSettings &settings);
};

// Pins the regional settings for the lifetime of the object and restores the previous ones.
class ScopedRegionalSettings {
public:
    explicit ScopedRegionalSettings(const RegionalSettings &settings);
    ~ScopedRegionalSettings();
    ScopedRegionalSettings(const ScopedRegionalSettings &) = delete;
    ScopedRegionalSettings &operator=(const ScopedRegionalSettings &) = delete;

private:
    RegionalSettings saved_;
};

}  // namespace vornak
