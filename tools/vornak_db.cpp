// vornak-db, the command line's entry. It loads nothing beyond the C library and hands the
// process, with its arguments, to the program that carries the command: `report` to the report
// program, which draws and so loads Qt Gui with its fonts; every other command (and a misuse) to
// the commands program, which loads Qt Core only. Each command then starts only what it needs.
// Both programs sit beside vornak-db in the build, and in the folder of helper programs when
// installed. The process stays the same one (its id, its standard streams) from start to end. A
// report is handed to the report service (tools/report_service.h), which has Qt Gui and the fonts
// ready, and runs it in a process of its own with this one's standard streams; this process waits
// for it and ends the way it ended. Where the service cannot take it, the report program takes
// the process over like every other command's.
#include "tools/report_service_client.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr const char *reportProgram = "vornak-db-report";
constexpr const char *commandsProgram = "vornak-db-commands";

// The folder of this process's own program file, or an empty text when it cannot be read.
void ownFolder(char (&folder)[PATH_MAX])
{
    const ssize_t length = readlink("/proc/self/exe", folder, sizeof folder - 1);
    folder[length > 0 ? length : 0] = '\0';
    if (char *slash = std::strrchr(folder, '/'))
        *slash = '\0';
    else
        folder[0] = '\0';
}

}  // namespace

int main(int argc, char **argv)
{
    const char *program = argc > 1 && std::strcmp(argv[1], "report") == 0 ? reportProgram : commandsProgram;
    char folder[PATH_MAX];
    ownFolder(folder);
    const char *forms[] = {"%s/%s", "%s/../" VORNAK_HELPER_FOLDER "/%s"};
    int failure = ENOENT;
    for (const char *form : forms) {
        char place[PATH_MAX];
        const int length = std::snprintf(place, sizeof place, form, folder, program);
        if (folder[0] == '\0' || length <= 0 || length >= int(sizeof place) || access(place, X_OK) != 0)
            continue;
        if (program == reportProgram)
            if (const auto status = vornak::report_service::runInService(place, argv))
                return *status;
        argv[0] = place;
        execv(place, argv);
        failure = errno;
    }
    std::fprintf(stderr, "Could not start %s beside %s: %s\n", program, folder, std::strerror(failure));
    return 1;
}
