#pragma once

#include <QString>

namespace vornak {

// The engine's text for a failure SQLite reports with `code` (primary or extended) and `message`.
QString engineMessage(int code, const QString &message);

}  // namespace vornak
