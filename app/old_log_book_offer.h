#pragma once

#include <QString>

namespace vornak {

// The offer, at start-up, to bring the old version's log book over: when the file at `logBook`
// is a Jet file, asks whether to convert it ("Да" the default). Yes: the old file is kept as
// `logBook` + ".access" and the import writes a new log book in its place. No: nothing changes
// (the start-up then refuses the Access file as before). Returns false when the start-up must
// end because the conversion could not be made; its reason has been shown and the old file is
// back under its own name.
bool offerOldLogBookConversion(const QString &logBook);

}  // namespace vornak
