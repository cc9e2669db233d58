#include "Scramble.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace {

constexpr QChar kMark = u'~';
constexpr char kDefaultKey[] = "Tellwick mailbox passwords";

QByteArray keyBytes(const QString& key) {
    return key.isEmpty() ? QByteArray(kDefaultKey) : key.toUtf8();
}

// A key stream of length n: SHA-256 of key and block counter, block after block.
QByteArray keyStream(const QByteArray& key, qsizetype n) {
    QByteArray out;
    out.reserve(n + 32);
    for (quint32 block = 0; out.size() < n; ++block) {
        QCryptographicHash h(QCryptographicHash::Sha256);
        h.addData(key);
        const char counter[4] = {char(block >> 24), char(block >> 16), char(block >> 8), char(block)};
        h.addData(QByteArrayView(counter, 4));
        out += h.result();
    }
    out.truncate(n);
    return out;
}

// Two check bytes: a typed password that merely looks like a stored form ("~" and letters)
// passes for one only about once in 65,536, rather than once in 256.
constexpr qsizetype kCheckSize = 2;

QByteArray check(const QByteArray& key, const QByteArray& plain) {
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(QByteArrayView("check"));
    h.addData(key);
    h.addData(plain);
    return h.result().left(kCheckSize);
}

QByteArray xorWith(QByteArray data, const QByteArray& stream) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        data[i] = char(data[i] ^ stream[i]);
    }
    return data;
}

constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// Stored form of a non-empty text: mark, then base64url of (check bytes + UTF-8 bytes)
// mixed with the key stream.
QString encode(const QString& text, const QByteArray& key) {
    const QByteArray plain = text.toUtf8();
    const QByteArray payload = check(key, plain) + plain;
    return kMark + QString::fromLatin1(xorWith(payload, keyStream(key, payload.size())).toBase64(kBase64));
}

// What a stored form hides, or a null string when text is not exactly the stored form of a
// non-empty text (so that encode(decode(t)) == t whenever decode succeeds).
QString decode(const QString& text, const QByteArray& key) {
    if (text.size() < 5 || text.at(0) != kMark) {  // the mark and at least three bytes
        return {};
    }
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                        c == u'-' || c == u'_';
        if (!ok) {
            return {};
        }
    }
    const auto result = QByteArray::fromBase64Encoding(text.mid(1).toLatin1(),
                                                       kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    if (!result || result.decoded.size() <= kCheckSize) {
        return {};
    }
    const QByteArray payload = xorWith(result.decoded, keyStream(key, result.decoded.size()));
    const QByteArray plain = payload.mid(kCheckSize);
    if (payload.left(kCheckSize) != check(key, plain)) {
        return {};
    }
    QString decoded = QString::fromUtf8(plain);
    if (decoded.isEmpty() || encode(decoded, key) != text) {
        return {};  // not valid UTF-8, or not the form encode writes
    }
    return decoded;
}

}  // namespace

QString scramble(const QString& text, const QString& key) {
    if (text.isEmpty()) {
        return text;
    }
    const QByteArray k = keyBytes(key);
    // Texts form chains t0 -> encode(t0) -> encode(encode(t0)) ..., t0 being no stored form.
    // Pairing the links (t0 with t1, t2 with t3, ...) makes one call serve both ways even for
    // a password that happens to look like a stored form.
    int depth = 0;
    for (QString t = decode(text, k); !t.isNull(); t = decode(t, k)) {
        ++depth;
    }
    return depth % 2 == 0 ? encode(text, k) : decode(text, k);
}
