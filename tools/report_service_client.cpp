// Handing a `vornak-db report` run to the report service. A service serves only callers alike in
// everything a run takes from the process that starts it: its socket is named after a fingerprint
// of those conditions, and a caller in other conditions finds, or starts, a service of its own.
#include "tools/report_service_client.h"

#include "tools/report_service_protocol.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vornak::report_service {

namespace {

constexpr int acceptWaitSeconds = 5;

// FNV-1a, 64 bits.
class Fingerprint {
public:
    void add(const void *data, std::size_t size)
    {
        for (const auto *byte = static_cast<const unsigned char *>(data); size > 0; ++byte, --size)
            value_ = (value_ ^ *byte) * 1099511628211ULL;
    }
    template <typename T>
    void add(const T &item)
    {
        add(&item, sizeof item);
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 14695981039346656037ULL;
};

// The fingerprint of what a run takes from the process that starts the service: the report
// program's file (a rebuilt or upgraded program gets a service of its own), the environment, the
// user and groups, the file-creation mask, the resource limits, the priority, the processors it
// may run on, and the signals blocked or ignored. False when the program cannot be read.
bool conditions(const char *program, std::uint64_t &fingerprint)
{
    struct stat file {};
    if (stat(program, &file) != 0)
        return false;
    Fingerprint print;
    print.add(file.st_dev);
    print.add(file.st_ino);
    print.add(file.st_size);
    print.add(file.st_mtim.tv_sec);
    print.add(file.st_mtim.tv_nsec);
    for (char **entry = environ; *entry != nullptr; ++entry)
        print.add(*entry, std::strlen(*entry) + 1);
    print.add(getuid());
    print.add(geteuid());
    print.add(getgid());
    print.add(getegid());
    const int groupCount = getgroups(0, nullptr);
    if (auto *groups = static_cast<gid_t *>(std::malloc(sizeof(gid_t) * (groupCount > 0 ? groupCount : 1)))) {
        const int got = getgroups(groupCount > 0 ? groupCount : 0, groups);
        print.add(groups, sizeof(gid_t) * (got > 0 ? got : 0));
        std::free(groups);
    }
    const mode_t mask = umask(0);
    umask(mask);
    print.add(mask);
    for (int resource = 0; resource < RLIM_NLIMITS; ++resource) {
        rlimit limit{};
        getrlimit(__rlimit_resource(resource), &limit);
        print.add(limit);
    }
    errno = 0;
    print.add(getpriority(PRIO_PROCESS, 0));
    cpu_set_t processors;
    CPU_ZERO(&processors);
    sched_getaffinity(0, sizeof processors, &processors);
    print.add(processors);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        const bool ignored = sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
        const int state = (sigismember(&blocked, signal) == 1 ? 1 : 0) | (ignored ? 2 : 0);
        print.add(state);
    }
    fingerprint = print.value();
    return true;
}

// A folder that exists, is not a link, belongs to this user and only this user may enter.
bool privateFolder(const char *path)
{
    struct stat folder {};
    return lstat(path, &folder) == 0 && S_ISDIR(folder.st_mode) && folder.st_uid == getuid() &&
           (folder.st_mode & 077) == 0;
}

struct Place {
    char socket[sizeof(sockaddr_un::sun_path)];
    char lock[PATH_MAX];
};

// Where the service for callers of `fingerprint` listens: in the user's runtime folder, else in
// a folder of the user's own under /tmp. False when neither is private or the name is too long.
bool placeOf(std::uint64_t fingerprint, Place &place)
{
    char folder[PATH_MAX];
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && privateFolder(runtime)) {
        if (std::snprintf(folder, sizeof folder, "%s", runtime) >= int(sizeof folder))
            return false;
    } else {
        std::snprintf(folder, sizeof folder, "/tmp/vornak-%u", unsigned(getuid()));
        mkdir(folder, 0700);
        if (!privateFolder(folder))
            return false;
    }
    const auto name = static_cast<unsigned long long>(fingerprint);
    const int socketLength = std::snprintf(place.socket, sizeof place.socket, "%s/vornak-report-%016llx", folder, name);
    const int lockLength = std::snprintf(place.lock, sizeof place.lock, "%s/vornak-report-%016llx.lock", folder, name);
    return socketLength > 0 && socketLength < int(sizeof place.socket) && lockLength > 0 &&
           lockLength < int(sizeof place.lock);
}

// A connection to the socket at `path`, or -1.
int connectTo(const char *path)
{
    const int connection = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (connection < 0)
        return -1;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path);
    if (connect(connection, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return connection;
    close(connection);
    return -1;
}

// Waits until the process `process` has ended (an hour at most).
void waitForEnd(pid_t process)
{
    const int handle = int(syscall(SYS_pidfd_open, process, 0));
    if (handle < 0)
        return;
    pollfd end{handle, POLLIN, 0};
    retried([&] { return poll(&end, 1, 3'600'000); });
    close(handle);
}

// Starts the service for `place`, once this process has ended, as a process of its own session
// holding the service's lock, with no other file of this one open in it: the report this process
// is about to run is not slowed by the service's start. Does nothing more when the lock is held
// (a service for the place is starting or running).
void startServiceAfterThisProcess(const char *program, const Place &place)
{
    const pid_t caller = getpid();
    const pid_t starter = fork();
    if (starter == 0) {
        setsid();
        if (fork() != 0)
            _exit(0);
        const int lock = open(place.lock, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (lock < 0 || flock(lock, LOCK_EX | LOCK_NB) != 0)
            _exit(0);
        const int nothing = open("/dev/null", O_RDWR);
        for (int stream = 0; stream < 3; ++stream)
            dup2(nothing, stream);
        if (lock == lockFile)
            fcntl(lockFile, F_SETFD, 0);
        else
            dup2(lock, lockFile);
        close_range(lockFile + 1, ~0U, 0);
        if (chdir("/") != 0)
            _exit(127);
        waitForEnd(caller);
        const char *const arguments[] = {program, serveArgument, place.socket, place.lock, nullptr};
        execv(program, const_cast<char *const *>(arguments));
        _exit(127);
    }
    if (starter > 0)
        retried([&] { return waitpid(starter, nullptr, 0); });
}

// Sends the request: the arguments after "report", with the standard streams and the working
// folder. False when they cannot all be sent (a closed standard stream, arguments too long).
bool sendRequest(int connection, char **argv)
{
    static char payload[largestRequest];
    std::size_t length = sizeof requestMark;
    std::memcpy(payload, &requestMark, length);
    for (char **argument = argv + 2; *argument != nullptr; ++argument) {
        const std::size_t size = std::strlen(*argument) + 1;
        if (length + size > sizeof payload)
            return false;
        std::memcpy(payload + length, *argument, size);
        length += size;
    }
    const int folder = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    const int files[passedFiles] = {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO, folder};
    const ssize_t sent = sendWithFiles(connection, payload, length, files, passedFiles);
    close(folder);
    return sent == ssize_t(length);
}

// The next answer of the service: its kind and, for `ended`, the wait status; false once the
// connection is closed.
bool receiveAnswer(int connection, char &kind, int &status)
{
    char packet[1 + sizeof status] = {};
    const ssize_t got = retried([&] { return recv(connection, packet, sizeof packet, 0); });
    if (got < 1)
        return false;
    kind = packet[0];
    std::memcpy(&status, packet + 1, sizeof status);
    return kind == accepted || got == ssize_t(sizeof packet);
}

// Whether the service took the request within a few seconds (its spare may be rehearsing). A caller
// that gives up closes its end first, so that a spare taking the request later finds it gone, and
// then looks once more for an answer that came meanwhile.
bool requestTaken(int connection)
{
    const timeval wait{acceptWaitSeconds, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char kind = 0;
    int status = 0;
    bool took = receiveAnswer(connection, kind, status);
    if (!took && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        shutdown(connection, SHUT_RDWR);
        took = recv(connection, &kind, 1, MSG_DONTWAIT) == 1;
    }
    const timeval forever{0, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &forever, sizeof forever);
    return took && kind == accepted;
}

// The exit status of a run with wait status `status`; a run ended by a signal ends this process.
int endedLike(int status)
{
    if (!WIFSIGNALED(status))
        return WEXITSTATUS(status);
    const int signal = WTERMSIG(status);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);  // the run's process has dumped its core, where one is made
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    return 128 + signal;
}

}  // namespace

std::optional<int> runInService(const char *program, char **argv)
{
    std::uint64_t fingerprint = 0;
    Place place;
    if (std::getenv(switchedOffVariable) != nullptr || !conditions(program, fingerprint) ||
        !placeOf(fingerprint, place))
        return std::nullopt;
    // Where no service takes requests yet, this report runs as the program on its own, and the
    // service starts after it for the next ones.
    const int connection = connectTo(place.socket);
    if (connection < 0) {
        startServiceAfterThisProcess(program, place);
        return std::nullopt;
    }
    char kind = 0;
    int status = 0;
    if (!sendRequest(connection, argv) || !requestTaken(connection)) {
        close(connection);
        return std::nullopt;
    }
    const bool told = receiveAnswer(connection, kind, status) && kind == ended;
    close(connection);
    if (!told) {
        std::fputs("The report service ended before the report did.\n", stderr);
        return 1;
    }
    return endedLike(status);
}

}  // namespace vornak::report_service
