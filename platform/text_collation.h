#pragma once

struct sqlite3;

namespace vornak {

// Text columns of the log book compare without regard to case and sort in Russian alphabetical
// order (declared COLLATE NOCASE; this replaces SQLite's ASCII-only NOCASE on `db`).
void installTextCollation(sqlite3 *db);

}  // namespace vornak
