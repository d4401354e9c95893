#pragma once

// vornak-db's side of the report service (report_service.h): a `vornak-db report` run handed to
// the service kept for callers in this one's conditions.
// Only the C library is used here: vornak-db loads nothing else.

#include <optional>

namespace vornak::report_service {

// Set to any value, the report program runs in the caller's own process, as without a service.
inline constexpr char switchedOffVariable[] = "VORNAK_NO_REPORT_SERVICE";

// Runs `vornak-db report` with the command line `argv` (argv[1] is "report") in the service of
// the report program at `program` for callers in these conditions. Returns the run's exit status,
// or nothing when no service takes the run: the caller then starts the program itself, and, where
// no service runs, one starts once this process has ended. A run ended by a signal ends this
// process by the same signal.
std::optional<int> runInService(const char *program, char **argv);

}  // namespace vornak::report_service
