#pragma once

// The report service: the report program kept running for a while after a `vornak-db report`,
// its libraries loaded, its application object made, its fonts registered and a report rehearsed
// on a sample log book, so that the next reports a user makes from the command line begin where
// their own work does. vornak-db starts it after a report that found none running
// (report_service_client.h) and hands it each later report. Every report runs in a process of its
// own, forked from the service ahead of the request, with the caller's standard streams and
// working folder: nothing of a report stays in the service but the key of its log book. A service
// serves callers of one user in one set of conditions (environment, limits and the like), and ends
// after half a minute without reports.

#include <QStringList>

namespace vornak::report_service {

// What the service's processes do for the report program.
struct Reports {
    // In a process forked ahead of its request, what a run does before it.
    void (*beforeRequest)();
    // The run, in the process that took the request: the arguments after "report"; returns its exit
    // status.
    int (*run)(const QStringList &arguments);
    // In the service, once it listens: what every report first uses made ready, for the processes
    // forked after it.
    void (*rehearse)();
};

// Serves reports on the socket at `socket` while holding the lock file `lock` (one service for a
// socket), until no report has come for a while or it is asked to end (terminated, hung up).
// Returns the service's exit status: 0 when it ended so or found another service holding the
// lock.
int serve(const char *socket, const char *lock, const Reports &reports);

}  // namespace vornak::report_service
