#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// A minisign key pair made for one test run (never stored), signing as
// minisign does, with libsodium.
class SigningKey {
public:
    SigningKey();
    // The demo site's key as demo/make-site.py --make-key writes it; a key
    // of its own when the file cannot be read.
    static SigningKey fromFile(const QString& path);

    // The key line of the key's .pub file, as PANELUP_SITE_KEYS takes it.
    QString publicKey() const;
    // A .minisig for content; the trusted comment as minisign writes it by
    // default ("timestamp:<seconds>\tfile:<name>\thashed" when prehashed).
    QByteArray sign(const QByteArray& content, const QString& fileName, quint64 timestamp,
                    bool prehashed = true) const;
    QByteArray signWithComment(const QByteArray& content, const QByteArray& trustedComment,
                               bool prehashed) const;

private:
    std::array<uint8_t, 8> id_{};
    std::array<uint8_t, 32> public_{};
    std::array<uint8_t, 64> secret_{};
};
