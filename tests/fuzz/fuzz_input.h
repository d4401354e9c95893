#pragma once

// What every fuzz target shares: the input bytes read as UTF-8 text (invalid sequences become
// replacement characters, as a text file read by the program would), and the rule that a
// parser may refuse its input only with one of the system's own errors. Anything else that
// escapes (a standard exception, a crash, a sanitizer report) is a fault libFuzzer reports.

#include "platform/errors.h"
#include "platform/regional_settings.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace vornak::fuzz {

inline QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Runs `parse`; a refusal with a message of the system is an answer, not a fault.
template <class Parse>
void refusalsAllowed(Parse &&parse)
{
    try {
        parse();
    } catch (const Error &) {
    }
}

// The regional settings the program runs with on a Russian desktop (dates dd.MM.yyyy, a comma).
inline int pinRussianSettings()
{
    RegionalSettings::setCurrent(RegionalSettings::russian());
    return 0;
}

}  // namespace vornak::fuzz
