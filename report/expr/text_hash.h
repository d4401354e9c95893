#pragma once

#include <QString>

#include <functional>
#include <string_view>

namespace vornak {

// A hash of a text for the tables expressions consult on every evaluation (compiled expressions,
// resolved names): cheaper than the seeded hash of QHash on short texts.
struct TextHash {
    size_t operator()(const QString &text) const noexcept
    {
        return std::hash<std::u16string_view>{}(
            std::u16string_view(reinterpret_cast<const char16_t *>(text.constData()), size_t(text.size())));
    }
};

}  // namespace vornak
