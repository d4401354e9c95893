// The log book's key derivation: published PBKDF2-HMAC-SHA1 vectors, agreement with the crypto
// library's own derivation for the lengths and passwords that take other paths, and a log book
// created with its password opening through the derived key, also when derived ahead.
#include "platform/errors.h"
#include "platform/sqlcipher_connection.h"
#include "platform/sqlcipher_key.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <QFile>
#include <QTemporaryDir>

using namespace vornak;

namespace {

TEST(LogBookKey, PublishedVectors)
{
    struct Case {
        QByteArray password, salt;
        int rounds;
        QByteArray hex;
    };
    const Case cases[] = {
        {"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"password", "salt", 4096, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {QByteArray("pass\0word", 9), QByteArray("sa\0lt", 5), 4096, "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pbkdf2HmacSha1(c.password, c.salt, c.rounds, int(c.hex.size() / 2)).toHex(), c.hex)
            << c.password.toStdString();
}

TEST(LogBookKey, AgreesWithTheCryptoLibrary)
{
    const QByteArray salt = QByteArray::fromHex("00ff10e0203040506070809aabbccdde");
    const QByteArray passwords[] = {"x", QStringLiteral("пароль журнала").toUtf8(), QByteArray(64, 'k'),
                                    QByteArray(65, 'k'), QByteArray(300, 'z')};
    for (const QByteArray &password : passwords) {
        QByteArray expected(logBookKeyBytes, '\0');
        PKCS5_PBKDF2_HMAC_SHA1(password.constData(), int(password.size()),
                               reinterpret_cast<const unsigned char *>(salt.constData()), int(salt.size()), 1000,
                               logBookKeyBytes, reinterpret_cast<unsigned char *>(expected.data()));
        EXPECT_EQ(pbkdf2HmacSha1(password, salt, 1000, logBookKeyBytes).toHex(), expected.toHex()) << password.size();
    }
}

TEST(LogBookKey, AFileMadeWithThePasswordOpensWithTheDerivedKey)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k.mdb"));
    SqlCipherConnection::create(path, QStringLiteral("пароль"))->execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    EXPECT_NO_THROW(SqlCipherConnection::open(path, QStringLiteral("пароль")));
    EXPECT_THROW(SqlCipherConnection::open(path, QStringLiteral("Пароль")), DatabaseError);
}

// A key derived ahead serves only the password and the file (its salt) it was derived for:
// another password or another file gets its own key, and a wrong password still fails.
TEST(LogBookKey, AKeyDerivedAheadServesItsPasswordAndFileOnly)
{
    QTemporaryDir dir;
    const QString password = QStringLiteral("пароль");
    QByteArray salts[2];
    QByteArray keys[2];
    QString paths[2];
    for (int i = 0; i < 2; ++i) {
        paths[i] = dir.filePath(QStringLiteral("k%1.mdb").arg(i));
        SqlCipherConnection::create(paths[i], password)->execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
        QFile file(paths[i]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        salts[i] = file.read(logBookSaltBytes);
        keys[i] = rawLogBookKey(password.toUtf8(), salts[i]);
    }
    ASSERT_NE(keys[0], keys[1]);

    deriveLogBookKeyAhead(paths[0], password.toUtf8());
    EXPECT_EQ(rawLogBookKey(password.toUtf8(), salts[1]), keys[1]);
    EXPECT_NO_THROW(SqlCipherConnection::open(paths[1], password));
    EXPECT_EQ(rawLogBookKey(password.toUtf8(), salts[0]), keys[0]);

    deriveLogBookKeyAhead(paths[0], QByteArrayLiteral("Пароль"));
    EXPECT_EQ(rawLogBookKey(password.toUtf8(), salts[0]), keys[0]);
    EXPECT_THROW(SqlCipherConnection::open(paths[0], QStringLiteral("Пароль")), DatabaseError);

    deriveLogBookKeyAhead(paths[0], password.toUtf8());
    EXPECT_NO_THROW(SqlCipherConnection::open(paths[0], password));
    deriveLogBookKeyAhead(dir.filePath(QStringLiteral("missing.mdb")), password.toUtf8());
    EXPECT_EQ(rawLogBookKey(password.toUtf8(), salts[0]), keys[0]);
}

}  // namespace

namespace {

// A key derived ahead for a new file serves the one file created next: it opens with its
// password, and the file after it has a salt of its own.
TEST(LogBookKey, AKeyDerivedAheadForANewFileServesTheNextFileOnly)
{
    QTemporaryDir dir;
    const QString password = QStringLiteral("пароль");
    deriveNewLogBookKeyAhead(password.toUtf8());
    QByteArray salts[2];
    for (int i = 0; i < 2; ++i) {
        const QString path = dir.filePath(QStringLiteral("n%1.mdb").arg(i));
        SqlCipherConnection::create(path, password)->execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
        forgetLogBookKeys();  // the opening below derives the key from the file's salt itself
        EXPECT_NO_THROW(SqlCipherConnection::open(path, password));
        EXPECT_THROW(SqlCipherConnection::open(path, QStringLiteral("Пароль")), DatabaseError);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        salts[i] = file.read(logBookSaltBytes);
    }
    EXPECT_NE(salts[0], salts[1]);
}

}  // namespace
