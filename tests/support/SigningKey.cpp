#include "SigningKey.h"

#include <QFile>

#include <sodium.h>

#include <algorithm>

#include <stdexcept>

SigningKey::SigningKey() {
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot start");
    crypto_sign_keypair(public_.data(), secret_.data());
    randombytes_buf(id_.data(), id_.size());
}

SigningKey SigningKey::fromFile(const QString& path) {
    SigningKey key;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return key;
    QByteArray id;
    QByteArray seed;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("id "))
            id = QByteArray::fromHex(line.mid(3));
        else if (line.startsWith("seed "))
            seed = QByteArray::fromHex(line.mid(5));
    }
    if (id.size() != int(key.id_.size()) || seed.size() != crypto_sign_SEEDBYTES)
        return key;
    std::copy(id.begin(), id.end(), key.id_.begin());
    crypto_sign_seed_keypair(key.public_.data(), key.secret_.data(),
                             reinterpret_cast<const unsigned char*>(seed.constData()));
    return key;
}

QString SigningKey::publicKey() const {
    QByteArray raw("Ed");
    raw.append(reinterpret_cast<const char*>(id_.data()), int(id_.size()));
    raw.append(reinterpret_cast<const char*>(public_.data()), int(public_.size()));
    return QString::fromLatin1(raw.toBase64());
}

QByteArray SigningKey::sign(const QByteArray& content, const QString& fileName, quint64 timestamp,
                            bool prehashed) const {
    QByteArray comment =
        "timestamp:" + QByteArray::number(timestamp) + "\tfile:" + fileName.toUtf8();
    if (prehashed)
        comment += "\thashed";
    return signWithComment(content, comment, prehashed);
}

QByteArray SigningKey::signWithComment(const QByteArray& content, const QByteArray& trustedComment,
                                       bool prehashed) const {
    std::array<uint8_t, 64> signature{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.constData());
    if (prehashed) {
        std::array<uint8_t, crypto_generichash_BYTES_MAX> hash{};
        crypto_generichash(hash.data(), hash.size(), bytes, size_t(content.size()), nullptr, 0);
        crypto_sign_detached(signature.data(), nullptr, hash.data(), hash.size(), secret_.data());
    } else {
        crypto_sign_detached(signature.data(), nullptr, bytes, size_t(content.size()),
                             secret_.data());
    }
    QByteArray line(prehashed ? "ED" : "Ed");
    line.append(reinterpret_cast<const char*>(id_.data()), int(id_.size()));
    line.append(reinterpret_cast<const char*>(signature.data()), int(signature.size()));

    QByteArray global(reinterpret_cast<const char*>(signature.data()), int(signature.size()));
    global += trustedComment;
    std::array<uint8_t, 64> globalSignature{};
    crypto_sign_detached(globalSignature.data(), nullptr,
                         reinterpret_cast<const unsigned char*>(global.constData()),
                         size_t(global.size()), secret_.data());
    return "untrusted comment: signature from a test key\n" + line.toBase64() +
           "\ntrusted comment: " + trustedComment + "\n" +
           QByteArray(reinterpret_cast<const char*>(globalSignature.data()),
                      int(globalSignature.size()))
               .toBase64() +
           "\n";
}
