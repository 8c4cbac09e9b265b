#include "PasswordHash.h"

#include "Error.h"

#include <sodium.h>

namespace data {

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw Error(QStringLiteral("无法初始化密码加密库。"));
}

} // namespace

QString hashPassword(const QString &password)
{
    if (password.isEmpty())
        return QString();
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), quint64(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw Error(QStringLiteral("内存不足，无法加密密码。"));
    return QString::fromLatin1(hash);
}

bool isPasswordHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2id$"));
}

bool verifyPassword(const QString &typed, const QString &stored)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (!isPasswordHash(stored))
        return typed == stored;
    ensureSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

} // namespace data
