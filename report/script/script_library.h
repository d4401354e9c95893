#pragma once

namespace vornak {
class TfsScript;
}

namespace vornak::script {

// Registers the built-in types, the constants True, False, nil and Null, and the standard
// text, conversion and mathematics functions.
void registerLibrary(TfsScript &script);

}  // namespace vornak::script
