#include "platform/regional_settings.h"

#include <optional>
#include <QLocale>

namespace vornak {

namespace {

std::optional<RegionalSettings> &currentSettings()
{
    static std::optional<RegionalSettings> settings;
    return settings;
}

QChar firstSeparator(const QString &format, const QString &fieldLetters, QChar fallback)
{
    for (QChar c : format) {
        if (!fieldLetters.contains(c) && !c.isSpace() && c != u'\'')
            return c;
    }
    return fallback;
}

}  // namespace

RegionalSettings RegionalSettings::russian()
{
    return {QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), u'.', u':', u',', QChar(0x00A0)};
}

QLocale RegionalSettings::conventionsLocale(const QLocale &system)
{
    return system.language() == QLocale::C ? QLocale(QLocale::Russian, QLocale::Russia) : system;
}

RegionalSettings RegionalSettings::fromSystem()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return russian();
    RegionalSettings s;
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    // Four-digit years everywhere: two-digit years are ambiguous in a log book.
    if (!s.shortDateFormat.contains(QStringLiteral("yyyy")))
        s.shortDateFormat.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    s.longTimeFormat = locale.timeFormat(QLocale::LongFormat);
    s.longTimeFormat.remove(QStringLiteral(" t")).remove(u't');
    s.longTimeFormat = s.longTimeFormat.trimmed();
    s.dateSeparator = firstSeparator(s.shortDateFormat, QStringLiteral("dMy"), u'.');
    s.timeSeparator = firstSeparator(s.longTimeFormat, QStringLiteral("HhmsAaPp"), u':');
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    s.decimalSeparator = decimal.isEmpty() ? u'.' : decimal.front();
    s.thousandSeparator = group.isEmpty() ? QChar(0x00A0) : group.front();
    return s;
}

const RegionalSettings &RegionalSettings::current()
{
    auto &settings = currentSettings();
    if (!settings)
        settings = fromSystem();
    return *settings;
}

void RegionalSettings::setCurrent(const RegionalSettings &settings)
{
    currentSettings() = settings;
}

ScopedRegionalSettings::ScopedRegionalSettings(const RegionalSettings &settings)
    : saved_(RegionalSettings::current())
{
    RegionalSettings::setCurrent(settings);
}

ScopedRegionalSettings::~ScopedRegionalSettings()
{
    RegionalSettings::setCurrent(saved_);
}

}  // namespace vornak
