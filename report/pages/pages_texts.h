#pragma once

// The messages of the prepared pages store.

#include <QString>

namespace vornak {

enum class PagesText {
    UnknownClass,       // %1: class name
    UnknownAttribute,   // %1: attribute, %2: class name
    BadAttributeText,   // %1: the text from the faulty pair on
    PageOutOfRange,     // %1: page index, %2: number of pages
    UnknownSourcePage,  // %1: page item name
};

QString pagesText(PagesText text);

}  // namespace vornak
