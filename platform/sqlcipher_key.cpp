// PBKDF2-HMAC-SHA1 over the SHA-1 block function. HMAC(key, m) is SHA1(key^opad || SHA1(key^ipad ||
// m)); the two padded key blocks are the same in every round, so their compressed states are made
// once and each round costs exactly two block compressions: the 20-byte value of the last round,
// padded to one block, is compressed from the inner state and then, as a digest, from the outer
// state. A library's generic digest interface sets up and copies whole contexts for every round,
// which makes it several times slower for the 64,000 rounds a log book's key takes.
#define OPENSSL_SUPPRESS_DEPRECATED  // the block function is the point of this file
#include "platform/sqlcipher_key.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <array>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <QFile>
#include <vector>

namespace vornak {

namespace {

constexpr int blockBytes = SHA_CBLOCK;
constexpr int digestBytes = SHA_DIGEST_LENGTH;

using Block = std::array<unsigned char, blockBytes>;
using Digest = std::array<unsigned char, digestBytes>;

// A one-block message holding a digest: the digest, the end marker and the bit length of the
// whole hashed text (one key block before it plus the digest).
Block digestBlock()
{
    Block block{};
    block[digestBytes] = 0x80;
    constexpr int bits = (blockBytes + digestBytes) * 8;
    block[blockBytes - 2] = bits >> 8;
    block[blockBytes - 1] = bits & 0xff;
    return block;
}

// The state after one padded key block, ready for the rest of an HMAC half.
SHA_CTX keyedState(const Block &key, unsigned char pad)
{
    Block padded;
    for (int i = 0; i < blockBytes; ++i)
        padded[i] = key[i] ^ pad;
    SHA_CTX state;
    SHA1_Init(&state);
    SHA1_Update(&state, padded.data(), padded.size());
    OPENSSL_cleanse(padded.data(), padded.size());
    return state;
}

// Compresses one block from a keyed state into `work` and writes the resulting digest into `out`.
void compress(const SHA_CTX &keyed, SHA_CTX &work, const unsigned char *block, unsigned char *out)
{
    work = keyed;
    SHA1_Transform(&work, block);
    const unsigned int words[] = {work.h0, work.h1, work.h2, work.h3, work.h4};
    for (int i = 0; i < 5; ++i) {
        out[4 * i] = words[i] >> 24;
        out[4 * i + 1] = words[i] >> 16;
        out[4 * i + 2] = words[i] >> 8;
        out[4 * i + 3] = words[i];
    }
}

// Block `index` (from 1) of the derived key: `rounds` HMACs chained from the salt and the index,
// all of them summed.
Digest derivedBlock(const SHA_CTX &inner, const SHA_CTX &outer, const QByteArray &salt, int rounds, int index)
{
    // The first round hashes the salt and the block's index, of any length, the usual way.
    const unsigned char counter[] = {static_cast<unsigned char>(index >> 24), static_cast<unsigned char>(index >> 16),
                                     static_cast<unsigned char>(index >> 8), static_cast<unsigned char>(index)};
    Block block = digestBlock();
    SHA_CTX work = inner;
    SHA1_Update(&work, salt.constData(), salt.size());
    SHA1_Update(&work, counter, sizeof counter);
    SHA1_Final(block.data(), &work);
    work = outer;
    SHA1_Update(&work, block.data(), digestBytes);
    SHA1_Final(block.data(), &work);
    Digest sum;
    std::memcpy(sum.data(), block.data(), digestBytes);
    // Every later round: two compressions of the previous round's digest, held in the block.
    for (int round = 1; round < rounds; ++round) {
        compress(inner, work, block.data(), block.data());
        compress(outer, work, block.data(), block.data());
        for (int i = 0; i < digestBytes; ++i)
            sum[i] ^= block[i];
    }
    OPENSSL_cleanse(block.data(), block.size());
    OPENSSL_cleanse(&work, sizeof work);
    return sum;
}

}  // namespace

QByteArray pbkdf2HmacSha1(const QByteArray &password, const QByteArray &salt, int rounds, int length)
{
    Block key{};
    if (password.size() > blockBytes)
        SHA1(reinterpret_cast<const unsigned char *>(password.constData()), password.size(), key.data());
    else
        std::memcpy(key.data(), password.constData(), password.size());
    const SHA_CTX inner = keyedState(key, 0x36);
    const SHA_CTX outer = keyedState(key, 0x5c);
    OPENSSL_cleanse(key.data(), key.size());

    // The blocks of the key need nothing of each other: all but the first are derived on threads
    // of their own, which halves the wait for a log book's key (two blocks) on a machine with a
    // core to spare. Where no thread can be started, a block is derived here when it is asked for.
    const int blocks = (length + digestBytes - 1) / digestBytes;
    std::vector<std::future<Digest>> later;
    for (int index = 2; index <= blocks; ++index)
        later.push_back(std::async(std::launch::async | std::launch::deferred, derivedBlock, std::cref(inner),
                                   std::cref(outer), std::cref(salt), rounds, index));
    QByteArray result(length, Qt::Uninitialized);
    for (int index = 1; index <= blocks; ++index) {
        Digest sum = index == 1 ? derivedBlock(inner, outer, salt, rounds, index) : later[index - 2].get();
        const int done = (index - 1) * digestBytes;
        std::memcpy(result.data() + done, sum.data(), std::min(digestBytes, length - done));
        OPENSSL_cleanse(sum.data(), sum.size());
    }
    return result;
}

namespace {

// "x'" + the key's hex digits + `saltHex` + "'".
QByteArray keyText(const QByteArray &password, const QByteArray &salt, const QByteArray &saltHex)
{
    QByteArray key = pbkdf2HmacSha1(password, salt, logBookKeyRounds, logBookKeyBytes);
    QByteArray hex = key.toHex();
    QByteArray text = "x'" + hex + saltHex + "'";
    OPENSSL_cleanse(key.data(), key.size());
    OPENSSL_cleanse(hex.data(), hex.size());
    return text;
}

// The keys derived in this process, each with the password and salt it is for. A key is derived
// once, ahead or at the first opening of a file of that salt, and serves every later one: a new
// file opened again to be checked, and a copy keyed like its source, derive nothing.
struct DerivedKey {
    QByteArray password;
    QByteArray salt;
    std::shared_future<QByteArray> key;  // its raw-key text
};

std::mutex derivedMutex;
std::vector<DerivedKey> derived;  // guarded by derivedMutex

// The key for `password` and `salt`: the one derived before, or one `derive` makes now.
template <typename Derive>
std::shared_future<QByteArray> keyFor(const QByteArray &password, const QByteArray &salt, Derive derive)
{
    const std::lock_guard lock(derivedMutex);
    for (const DerivedKey &key : derived)
        if (key.password == password && key.salt == salt)
            return key.key;
    return derived.emplace_back(DerivedKey{password, salt, derive()}).key;
}

// Starts deriving the key for `password` and `salt` on a thread of its own, unless it is known;
// where no thread can be started, it is derived at its first use.
void deriveOnAThreadOfItsOwn(const QByteArray &password, const QByteArray &salt)
{
    keyFor(password, salt, [&] {
        return std::async(std::launch::async | std::launch::deferred, keyText, password, salt, QByteArray()).share();
    });
}

}  // namespace

void deriveLogBookKeyAhead(const QString &path, const QByteArray &password)
{
    if (path.isEmpty() || password.isEmpty())  // a file of no name is not even tried (Qt would warn)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray salt = file.read(logBookSaltBytes);
    if (salt.size() < logBookSaltBytes)
        return;
    deriveOnAThreadOfItsOwn(password, salt);
}

QByteArray rawLogBookKey(const QByteArray &password, const QByteArray &salt)
{
    // Derived under the lock: a second opening of the same file waits for the first one's key.
    return keyFor(password, salt,
                  [&] {
                      std::promise<QByteArray> key;
                      key.set_value(keyText(password, salt, {}));
                      return key.get_future().share();
                  })
        .get();
}

namespace {

QByteArray randomSalt()
{
    QByteArray salt(logBookSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), int(salt.size())) != 1)
        return {};
    return salt;
}

std::optional<QByteArray> saltAhead;  // guarded by derivedMutex

}  // namespace

void deriveNewLogBookKeyAhead(const QByteArray &password)
{
    const QByteArray salt = randomSalt();
    if (password.isEmpty() || salt.isEmpty())
        return;
    deriveOnAThreadOfItsOwn(password, salt);
    const std::lock_guard lock(derivedMutex);
    saltAhead = salt;
}

QByteArray newLogBookSalt()
{
    {
        const std::lock_guard lock(derivedMutex);
        if (saltAhead) {
            const QByteArray salt = *saltAhead;
            saltAhead.reset();
            return salt;
        }
    }
    return randomSalt();
}

QByteArray newLogBookKey(const QByteArray &password, const QByteArray &salt)
{
    return rawLogBookKey(password, salt).chopped(1) + salt.toHex() + "'";
}

void finishDerivingLogBookKeys()
{
    std::vector<std::shared_future<QByteArray>> keys;
    {
        const std::lock_guard lock(derivedMutex);
        for (const DerivedKey &key : derived)
            keys.push_back(key.key);
    }
    for (const auto &key : keys)
        key.wait();
}

std::vector<KnownLogBookKey> knownLogBookKeys()
{
    std::vector<KnownLogBookKey> known;
    const std::lock_guard lock(derivedMutex);
    for (const DerivedKey &key : derived)
        if (key.key.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            known.push_back({key.password, key.salt, key.key.get()});
    return known;
}

void makeLogBookKeyKnown(const KnownLogBookKey &key)
{
    keyFor(key.password, key.salt, [&] {
        std::promise<QByteArray> text;
        text.set_value(key.key);
        return text.get_future().share();
    });
}

void forgetLogBookKeys()
{
    const std::lock_guard lock(derivedMutex);
    derived.clear();
}

}  // namespace vornak
