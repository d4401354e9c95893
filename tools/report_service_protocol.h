#pragma once

// What vornak-db and the report service say to each other (see report_service.h). The service
// listens on a local socket of packets in a folder only its user can enter. A caller sends one
// request: this mark, then the arguments after "report", each ending in a NUL, with its standard
// input, output and error and its working folder attached as open files. The service answers
// `accepted` once a process of its own has started the report, then `ended` followed by that
// process's wait status (an int, as waitpid gives it) when it has ended. A connection closed
// before `accepted` means the service did not take the report: the caller runs it itself.
// Only the C library is used here: vornak-db loads nothing else.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace vornak::report_service {

// The first argument of the report program that makes it the service:
// `vornak-db-report --serve SOCKET LOCK`, started with the lock file LOCK open and locked as the
// file `lockFile`. The socket takes requests once the service's first spare process is ready:
// until then, a caller finds it refusing and runs its report itself.
inline constexpr char serveArgument[] = "--serve";
inline constexpr int lockFile = 3;

inline constexpr std::uint32_t requestMark = 0x31524456;  // "VDR1", little-endian
inline constexpr std::size_t largestRequest = 64 * 1024;
inline constexpr int passedFiles = 4;  // standard input, output, error, the working folder

inline constexpr char accepted = 'A';
inline constexpr char ended = 'E';

// A system call made again for as long as a signal interrupts it.
template <typename Call>
auto retried(Call call)
{
    auto result = call();
    while (result < 0 && errno == EINTR)
        result = call();
    return result;
}

// Sends one packet of `length` bytes with the `count` open files `files` (at most passedFiles)
// attached; the bytes sent, or -1.
inline ssize_t sendWithFiles(int socket, const void *data, std::size_t length, const int *files, std::size_t count)
{
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * passedFiles)] = {};
    iovec part{const_cast<void *>(data), length};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = CMSG_SPACE(sizeof(int) * count);
    cmsghdr *attached = CMSG_FIRSTHDR(&message);
    attached->cmsg_level = SOL_SOCKET;
    attached->cmsg_type = SCM_RIGHTS;
    attached->cmsg_len = CMSG_LEN(sizeof(int) * count);
    std::memcpy(CMSG_DATA(attached), files, sizeof(int) * count);
    return retried([&] { return sendmsg(socket, &message, MSG_NOSIGNAL); });
}

// Receives one packet into the `size` bytes at `data`, with up to passedFiles open files attached:
// they go to `files` (close-on-exec), their number to `count`. Returns the packet's length, or -1
// when none waits or it did not fit (any file it brought is closed then, and errno is EMSGSIZE).
inline ssize_t receiveWithFiles(int socket, void *data, std::size_t size, int *files, std::size_t &count, int flags = 0)
{
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * passedFiles)] = {};
    iovec part{data, size};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t length = retried([&] { return recvmsg(socket, &message, flags | MSG_CMSG_CLOEXEC); });
    count = 0;
    for (cmsghdr *attached = CMSG_FIRSTHDR(&message); length >= 0 && attached;
         attached = CMSG_NXTHDR(&message, attached))
        if (attached->cmsg_level == SOL_SOCKET && attached->cmsg_type == SCM_RIGHTS) {
            count = (attached->cmsg_len - CMSG_LEN(0)) / sizeof(int);
            std::memcpy(files, CMSG_DATA(attached), sizeof(int) * count);
        }
    if (length >= 0 && (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) != 0) {
        for (std::size_t file = 0; file < count; ++file)
            close(files[file]);
        count = 0;
        errno = EMSGSIZE;
        return -1;
    }
    return length;
}

}  // namespace vornak::report_service
