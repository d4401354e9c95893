// The report service's processes. The service keeps one process forked ahead, a spare, waiting for
// the next request on the socket: it has already done what a run does before its request (a
// rehearsal, its memory faulted in), so a request is taken without a fork or any of that on its
// way. The spare that takes a request becomes the report's process and tells the service, which
// forks the next spare, watches the caller (a caller that goes away takes its report's process
// with it) and, should the report's process end before it has told the caller how it ended (a
// crash), tells the caller.
#include "tools/report_service.h"

#include "platform/sqlcipher_key.h"
#include "tools/report_service_protocol.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace vornak::report_service {

namespace {

constexpr int idleMilliseconds = 30'000;
constexpr int requestWaitSeconds = 2;
constexpr std::size_t largestKeyCount = 64;  // log book keys kept for the next reports
constexpr int largestUnusedSpares = 3;       // spares in a row ending without a report
constexpr int backlog = 16;                  // callers waiting for the spare

// What a report's process tells the service, each in a packet starting with its kind.
constexpr char taken = 'T';      // its process id, with the caller's connection attached
constexpr char keyLearnt = 'K';  // a log book key: the password, salt and key, each after its length

// The ends of a pipe the signals the service handles write to, so that the loop hears of them.
int signalled[2] = {-1, -1};
volatile sig_atomic_t stopAsked = 0;  // the service was asked to end (terminated, hung up)
// The ends of a socket pair the service's processes tell it what they took and learnt through.
int told[2] = {-1, -1};

void noteSignal(int signal)
{
    if (signal != SIGCHLD)
        stopAsked = 1;
    const int saved = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(signalled[1], &byte, 1);
    errno = saved;
}

// A report asked for: the caller's connection, its files (standard input, output, error and the
// working folder) and the arguments after "report".
struct Request {
    int connection = -1;
    int files[passedFiles] = {-1, -1, -1, -1};
    QStringList arguments;
};

void closeFiles(const Request &request)
{
    for (const int file : request.files)
        if (file >= 0)
            close(file);
}

// The request on a new connection, when it comes in time from a process of this user and has the
// request's shape.
std::optional<Request> receiveRequest(int connection)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid())
        return std::nullopt;
    const timeval wait{requestWaitSeconds, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::vector<char> payload(largestRequest);
    Request request;
    request.connection = connection;
    std::size_t files = 0;
    const ssize_t length = receiveWithFiles(connection, payload.data(), payload.size(), request.files, files);
    std::uint32_t mark = 0;
    if (length >= ssize_t(sizeof mark))
        std::memcpy(&mark, payload.data(), sizeof mark);
    const bool whole = length > 0 && payload[length - 1] == '\0' && files == passedFiles;
    if (mark != requestMark || !whole) {
        closeFiles(request);
        return std::nullopt;
    }
    for (const char *argument = payload.data() + sizeof mark; argument < payload.data() + length;
         argument += std::strlen(argument) + 1)
        request.arguments.append(QString::fromLocal8Bit(argument));
    return request;
}

// Whether the answer reached the caller's end.
bool answer(int connection, char kind, int status = 0)
{
    char packet[1 + sizeof status];
    packet[0] = kind;
    std::memcpy(packet + 1, &status, sizeof status);
    return retried([&] { return send(connection, packet, kind == ended ? sizeof packet : 1, MSG_NOSIGNAL); }) > 0;
}

// Tells the service that this process has taken the caller on `connection`.
void tellTaken(int connection)
{
    char packet[1 + sizeof(pid_t)];
    packet[0] = taken;
    const pid_t self = getpid();
    std::memcpy(packet + 1, &self, sizeof self);
    sendWithFiles(told[1], packet, sizeof packet, &connection, 1);
}

// Tells the service the log book keys this process knows, for every process it forks later.
void tellKeys()
{
    for (const KnownLogBookKey &known : knownLogBookKeys()) {
        QByteArray packet(1, keyLearnt);
        for (const QByteArray *text : {&known.password, &known.salt, &known.key}) {
            const auto length = std::uint32_t(text->size());
            packet.append(reinterpret_cast<const char *>(&length), sizeof length).append(*text);
        }
        send(told[1], packet.constData(), packet.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        packet.fill('\0');
    }
}

// The key in a packet of `tellKeys`, when it is whole.
std::optional<KnownLogBookKey> keyIn(const char *packet, qsizetype length)
{
    QByteArray texts[3];
    qsizetype at = 1;
    for (QByteArray &text : texts) {
        std::uint32_t size = 0;
        if (at + qsizetype(sizeof size) > length)
            return std::nullopt;
        std::memcpy(&size, packet + at, sizeof size);
        at += sizeof size;
        if (at + qsizetype(size) > length)
            return std::nullopt;
        text = QByteArray(packet + at, size);
        at += size;
    }
    return KnownLogBookKey{texts[0], texts[1], texts[2]};
}

int threadCount()
{
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return 0;
    int count = 0;
    while (const dirent *task = readdir(tasks))
        count += task->d_name[0] != '.';
    closedir(tasks);
    return count;
}

// Whether this process runs one thread only, so that a process forked from it has every lock free.
// A thread that has done its work (a key derived ahead, one just joined) is given a moment to go.
bool oneThread()
{
    for (int look = 0; look < 50; ++look) {
        const int count = threadCount();
        if (count == 1)
            return true;
        if (count == 0)
            return false;
        usleep(2000);
    }
    return false;
}

class Service {
public:
    Service(int listener, int lock, const Reports &reports)
        : listener_(listener),
          lock_(lock),
          reports_(reports)
    {
        sigprocmask(SIG_SETMASK, nullptr, &callerMask_);
        for (std::size_t at = 0; at < std::size(handled); ++at) {
            struct sigaction action {};
            action.sa_handler = handled[at] == SIGPIPE || handled[at] == SIGXFSZ ? SIG_IGN : noteSignal;
            action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
            sigaction(handled[at], &action, &callerActions_[at]);
        }
    }

    // Serves until no report has come for a while and none runs; then ends the spare.
    void loop()
    {
        keepSpare();
        for (;;) {
            // Without a spare, the service answers callers itself: it refuses them. A caller that
            // goes away (interrupted, killed) takes its report's process with it.
            std::vector<pollfd> events = {
                {told[0], POLLIN, 0}, {signalled[0], POLLIN, 0}, {spare_ < 0 ? refusing() : -1, POLLIN, 0}};
            for (const auto &[process, connection] : running_)
                events.push_back({connection, POLLRDHUP, 0});
            const int ready = poll(events.data(), events.size(), running_.empty() ? idleMilliseconds : -1);
            hearProcesses();  // before ends are told: a process tells what it took before it ends
            if ((ready == 0 && running_.empty()) || stopAsked)
                break;
            if (events[1].revents != 0)
                tellEnded();
            if (events[2].revents != 0)
                refuseCaller();
            for (auto event = events.begin() + 3; event != events.end(); ++event)
                if (event->revents != 0)
                    stopReportOf(event->fd);
            keepSpare();
            // Spares ending one after another without a report (callers sending no request, a
            // spare that cannot start): the service ends once its reports have, and the next
            // caller starts a new one.
            if (unusedSpares_ >= largestUnusedSpares && running_.empty())
                break;
        }
        if (spare_ > 0) {
            kill(spare_, SIGKILL);
            retried([&] { return waitpid(spare_, nullptr, 0); });
        }
    }

private:
    void keepSpare()
    {
        if (spare_ > 0 || unusedSpares_ >= largestUnusedSpares)
            return;
        finishDerivingLogBookKeys();
        if (!oneThread())
            return;
        spare_ = fork();
        if (spare_ == 0)
            spare();
    }

    // The socket, listening so that callers are refused rather than left waiting for a spare.
    int refusing()
    {
        listen(listener_, backlog);
        return listener_;
    }

    void refuseCaller()
    {
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            close(connection);
    }

    void hearProcesses()
    {
        static std::size_t keysKept = 0;
        char packet[1024];
        int files[passedFiles];
        std::size_t count = 0;
        for (ssize_t length;
             (length = receiveWithFiles(told[0], packet, sizeof packet, files, count, MSG_DONTWAIT)) > 0;) {
            pid_t process = 0;
            if (packet[0] == taken && count == 1 && length == 1 + ssize_t(sizeof process)) {
                std::memcpy(&process, packet + 1, sizeof process);
                running_[process] = files[0];
                if (process == spare_)
                    spare_ = -1;
                unusedSpares_ = 0;
                continue;
            }
            for (std::size_t file = 0; file < count; ++file)
                close(files[file]);
            if (const auto key = packet[0] == keyLearnt ? keyIn(packet, length) : std::nullopt) {
                if (++keysKept > largestKeyCount) {
                    forgetLogBookKeys();
                    keysKept = 1;
                }
                makeLogBookKeyKnown(*key);
            }
        }
        std::memset(packet, 0, sizeof packet);
    }

    // Stops the report whose caller, on `connection`, has gone: it would stop with its caller in the
    // caller's own process. The caller that has been told the end goes too, once the report's
    // files are written.
    void stopReportOf(int connection)
    {
        for (const auto &[process, caller] : running_)
            if (caller == connection)
                kill(process, SIGKILL);
    }

    // Tells every caller whose report's process has ended how it ended.
    void tellEnded()
    {
        char bytes[64];
        while (read(signalled[0], bytes, sizeof bytes) > 0) {
        }
        int status = 0;
        for (pid_t child; (child = waitpid(-1, &status, WNOHANG)) > 0;) {
            if (child == spare_) {
                spare_ = -1;
                ++unusedSpares_;
            }
            const auto found = running_.find(child);
            if (found == running_.end())
                continue;
            answer(found->second, ended, status);
            close(found->second);
            running_.erase(found);
        }
    }

    // Gives `signal` back what the caller had it do.
    void actAsCaller(int signal) const
    {
        const auto at = std::find(std::begin(handled), std::end(handled), signal) - std::begin(handled);
        sigaction(signal, &callerActions_[at], nullptr);
    }

    // The spare: the caller's signal settings back and the service's files left, what a run does
    // before its request done, then the next caller taken and its report run. While it rehearses,
    // a write beyond the caller's file size limit fails rather than ends it.
    [[noreturn]] void spare()
    {
        // A spare goes with the service; the report it takes is the caller's, and goes on.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != service_)
            _exit(0);
        for (const int signal : handled)
            if (signal != SIGXFSZ)
                actAsCaller(signal);
        close(lock_);
        close(signalled[0]);
        close(signalled[1]);
        close(told[0]);
        for (const auto &[other, connection] : running_)
            close(connection);
        reports_.beforeRequest();
        actAsCaller(SIGXFSZ);
        sigprocmask(SIG_SETMASK, &callerMask_, nullptr);
        listen(listener_, backlog);
        const int connection = retried([&] { return accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC); });
        close(listener_);
        const auto request = connection >= 0 ? receiveRequest(connection) : std::nullopt;
        if (!request)
            _exit(0);
        prctl(PR_SET_PDEATHSIG, 0);
        tellTaken(connection);
        // A caller that gave up waiting has closed its end, and runs the report itself.
        if (!answer(connection, accepted))
            _exit(0);
        for (int stream = 0; stream < 3; ++stream)
            dup2(request->files[stream], stream);
        if (fchdir(request->files[3]) != 0)
            _exit(1);
        closeFiles(*request);
        const int status = reports_.run(request->arguments);
        tellKeys();
        // The caller learns how the report ended once its files are written and its streams
        // closed, without waiting for this process's memory to be taken down. What the process
        // holds is the service's as much as the report's, so it is not looked through for leaks
        // on the way out (the report program on its own is, under the sanitizers).
        std::fflush(nullptr);
        for (int stream = 0; stream < 3; ++stream)
            close(stream);
        answer(connection, ended, W_EXITCODE(status, 0));
        std::_Exit(status);
    }

    const pid_t service_ = getpid();
    int listener_;
    int lock_;
    Reports reports_;
    pid_t spare_ = -1;
    int unusedSpares_ = 0;
    std::unordered_map<pid_t, int> running_;  // the caller's connection of each report's process
    // The signals the service handles, and what its caller had them do, for the reports. A write
    // beyond the caller's file size limit fails in the service's own rehearsals rather than ends it.
    static constexpr int handled[] = {SIGCHLD, SIGPIPE, SIGXFSZ, SIGTERM, SIGINT, SIGHUP};
    struct sigaction callerActions_[std::size(handled)]{};
    sigset_t callerMask_{};
};

// The lock held while serving: the lock file the service was started with, when it is the one at
// `path` and locked; else the one at `path`, when no other service holds it; else -1.
int takeLock(const char *path)
{
    struct stat inherited {};
    struct stat named {};
    if (fstat(lockFile, &inherited) == 0 && stat(path, &named) == 0 && inherited.st_dev == named.st_dev &&
        inherited.st_ino == named.st_ino && flock(lockFile, LOCK_EX | LOCK_NB) == 0) {
        fcntl(lockFile, F_SETFD, FD_CLOEXEC);
        return lockFile;
    }
    const int lock = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock >= 0 && flock(lock, LOCK_EX | LOCK_NB) == 0)
        return lock;
    if (lock >= 0)
        close(lock);
    return -1;
}

// A socket bound at `path`, where a socket of a service that has ended may be left; or -1. It
// takes connections once it listens.
int bindAt(const char *path)
{
    sockaddr_un address{};
    if (std::strlen(path) >= sizeof address.sun_path)
        return -1;
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path);
    const int socket = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    unlink(path);
    if (socket >= 0 && bind(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return socket;
    if (socket >= 0)
        close(socket);
    return -1;
}

}  // namespace

int serve(const char *socket, const char *lock, const Reports &reports)
{
    const int held = takeLock(lock);
    if (held < 0)
        return 0;
    const int listener = bindAt(socket);
    if (listener < 0 || pipe2(signalled, O_CLOEXEC | O_NONBLOCK) != 0 ||
        socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, told) != 0)
        return 1;
    Service service(listener, held, reports);
    reports.rehearse();  // callers meanwhile find the socket refusing and run their reports themselves
    service.loop();
    // Removed while the lock is held: a service starting after this one finds nothing of it.
    unlink(socket);
    unlink(lock);
    return 0;
}

}  // namespace vornak::report_service
