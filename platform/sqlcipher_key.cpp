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
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <QFile>

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

// Compresses one block from a keyed state and writes the resulting digest into `out`.
void compress(const SHA_CTX &keyed, const unsigned char *block, unsigned char *out)
{
    SHA_CTX state = keyed;
    SHA1_Transform(&state, block);
    const unsigned int words[] = {state.h0, state.h1, state.h2, state.h3, state.h4};
    for (int i = 0; i < 5; ++i) {
        out[4 * i] = words[i] >> 24;
        out[4 * i + 1] = words[i] >> 16;
        out[4 * i + 2] = words[i] >> 8;
        out[4 * i + 3] = words[i];
    }
    OPENSSL_cleanse(&state, sizeof state);
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

    QByteArray result(length, Qt::Uninitialized);
    Block block = digestBlock();
    for (int done = 0, index = 1; done < length; done += digestBytes, ++index) {
        // The first round hashes the salt and the block's index, of any length, the usual way.
        const unsigned char counter[] = {static_cast<unsigned char>(index >> 24),
                                         static_cast<unsigned char>(index >> 16),
                                         static_cast<unsigned char>(index >> 8), static_cast<unsigned char>(index)};
        SHA_CTX state = inner;
        SHA1_Update(&state, salt.constData(), salt.size());
        SHA1_Update(&state, counter, sizeof counter);
        SHA1_Final(block.data(), &state);
        state = outer;
        SHA1_Update(&state, block.data(), digestBytes);
        SHA1_Final(block.data(), &state);
        Digest sum;
        std::memcpy(sum.data(), block.data(), digestBytes);
        // Every later round: two compressions of the previous round's digest, held in the block.
        for (int round = 1; round < rounds; ++round) {
            compress(inner, block.data(), block.data());
            compress(outer, block.data(), block.data());
            for (int i = 0; i < digestBytes; ++i)
                sum[i] ^= block[i];
        }
        std::memcpy(result.data() + done, sum.data(), std::min(digestBytes, length - done));
        OPENSSL_cleanse(sum.data(), sum.size());
        OPENSSL_cleanse(&state, sizeof state);
    }
    OPENSSL_cleanse(block.data(), block.size());
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

// A key being derived ahead: the password and salt it is for, and its raw-key text to come.
struct KeyAhead {
    QByteArray password;
    QByteArray salt;
    std::future<QByteArray> key;
};

std::mutex keyAheadMutex;
std::optional<KeyAhead> keyAhead;  // guarded by keyAheadMutex

// The key derived ahead for `password` and `salt`, taken (each is used once); empty when there
// is none for them.
QByteArray takeKeyAhead(const QByteArray &password, const QByteArray &salt)
{
    std::optional<KeyAhead> taken;
    {
        const std::lock_guard lock(keyAheadMutex);
        if (!keyAhead || keyAhead->password != password || keyAhead->salt != salt)
            return {};
        taken.swap(keyAhead);
    }
    return taken->key.get();
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
    const std::lock_guard lock(keyAheadMutex);
    keyAhead.emplace(KeyAhead{password, salt, std::async(std::launch::async, keyText, password, salt, QByteArray())});
}

QByteArray rawLogBookKey(const QByteArray &password, const QByteArray &salt)
{
    if (QByteArray key = takeKeyAhead(password, salt); !key.isEmpty())
        return key;
    return keyText(password, salt, {});
}

QByteArray newLogBookKey(const QByteArray &password)
{
    QByteArray salt(logBookSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), int(salt.size())) != 1)
        return {};
    const QByteArray opening = keyText(password, salt, {});
    // A new file is opened again at once to be checked: its key waits for that one opening.
    std::promise<QByteArray> key;
    key.set_value(opening);
    {
        const std::lock_guard lock(keyAheadMutex);
        keyAhead.emplace(KeyAhead{password, salt, key.get_future()});
    }
    return opening.chopped(1) + salt.toHex() + "'";
}

}  // namespace vornak
