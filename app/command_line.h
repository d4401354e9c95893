#pragma once

#include <optional>

namespace vornak {

// The few arguments the program answers itself before it starts: `--help` and `--version` on
// standard output, and `--error TEXT`, with which the menu launcher shows the user why it could
// not start the program (a message box, then the end). Every other argument is left to Qt.
// Returns the exit status when the program is to end at once.
std::optional<int> answerCommandLine(int argc, char **argv);

}  // namespace vornak
