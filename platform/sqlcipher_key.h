#pragma once

// The key a log book is encrypted with, derived from its password the way the file format fixes:
// PBKDF2 with HMAC-SHA1, 64,000 rounds, over the 16-byte salt the file keeps in its first bytes,
// giving a 256-bit key. Opening a log book spends most of its start-up time here, so the key is
// derived by this code once and handed to the engine as a raw key.

#include <QByteArray>
#include <QString>
#include <vector>

namespace vornak {

inline constexpr int logBookKeyRounds = 64'000;
inline constexpr int logBookKeyBytes = 32;
inline constexpr int logBookSaltBytes = 16;

// PBKDF2-HMAC-SHA1 of a password and a salt: `length` bytes of key after `rounds` rounds.
QByteArray pbkdf2HmacSha1(const QByteArray &password, const QByteArray &salt, int rounds, int length);

// The raw-key text the engine takes in place of a password ("x'" + 64 hex digits + "'") for a
// file whose salt is `salt`.
QByteArray rawLogBookKey(const QByteArray &password, const QByteArray &salt);

// Starts deriving the raw-key text of the log book file at `path` for `password` on a thread of
// its own, so that a process can start its other parts meanwhile on another core; the next
// `rawLogBookKey` for that password and the salt the file held takes it, waiting for it when
// needed. Does nothing when the file cannot be read or is too short to hold a salt.
void deriveLogBookKeyAhead(const QString &path, const QByteArray &password);

// A fresh random salt for a new file; empty when the system has no source of random bytes.
QByteArray newLogBookSalt();
// Makes the salt the next `newLogBookSalt` gives, and starts deriving its key for `password` on a
// thread of its own, so that a process that will create a log book starts its other parts meanwhile.
void deriveNewLogBookKeyAhead(const QByteArray &password);

// The raw-key text for a new file of `salt`, named after the key ("x'" + 64 + 32 hex digits +
// "'"), so that the engine writes that salt into the file and derives nothing itself. Every key
// is derived once in a process: the new file opened again, or a copy given its source's salt,
// takes the key derived before.
QByteArray newLogBookKey(const QByteArray &password, const QByteArray &salt);

// A key derived in one process, handed to another: the report service keeps the keys its reports
// derived, so that the next report of the same file derives nothing. A log book's key follows
// from its password, which the program holds, and the salt its file holds in the clear, so it
// tells nobody more than the program and the file do.
struct KnownLogBookKey {
    QByteArray password;
    QByteArray salt;
    QByteArray key;  // its raw-key text
};

// Waits until every key being derived ahead is derived and its thread has ended: a process forked
// after this (which gets none of its parent's threads) then finds each key whole.
void finishDerivingLogBookKeys();

// The keys this process has derived so far, leaving out those still being derived.
std::vector<KnownLogBookKey> knownLogBookKeys();
// Makes `key` known as if derived here: opening a file of its salt with its password takes it.
void makeLogBookKeyKnown(const KnownLogBookKey &key);

// Forgets every key derived so far: the next opening of each file derives its key again, as a
// process of its own would.
void forgetLogBookKeys();

}  // namespace vornak
