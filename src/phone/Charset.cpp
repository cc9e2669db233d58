#include "Charset.h"

#include <algorithm>

#include "GsmAlphabet.h"

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The highest code a one-byte set holds.
char16_t topOf(const QString& set) {
    return set == Charset::kIra ? 0x7F : 0xFF;
}

// A set's name as a phone in UCS2 may give it ("00470053004D" for "GSM"), else as it is.
QString plainName(const QString& name) {
    bool ok = false;
    const QString decoded = Charset::decode(name.toLatin1(), Charset::kUcs2, &ok);
    const bool plain = ok && !decoded.isEmpty() && std::all_of(decoded.begin(), decoded.end(), [](QChar c) {
                           return c.unicode() < 0x7F && (c.isLetterOrNumber() || c == u'-');
                       });
    return plain ? decoded : name;
}

}  // namespace

namespace Charset {

QStringList offered(const QString& reply) {
    // Quoted or bare names, in brackets or not: "+CSCS: ("GSM","UCS2")", "+CSCS: (GSM,UCS2)".
    // A late answer to an earlier command may come first.
    const qsizetype at = reply.indexOf(QLatin1String("+CSCS:"));
    if (at < 0) {
        return {};
    }
    QString list = reply.mid(at + 6).section(u'|', 0, 0);
    list.remove(u'(').remove(u')').remove(u'"');
    QStringList out;
    for (const QString& name : list.split(u',')) {
        if (!name.trimmed().isEmpty()) {
            out.append(plainName(name.trimmed()).toUpper());
        }
    }
    return out;
}

QString inForce(const QString& reply) {
    const QStringList sets = offered(reply);
    return sets.size() == 1 ? sets.first() : QString();
}

QByteArray encode(const QString& text, const QString& set, int* replaced) {
    int bad = 0;
    QByteArray out;
    if (set == kGsm) {
        out = Gsm::toSeptets(text, &bad);
    } else if (set == kUcs2) {
        out.reserve(text.size() * 4);
        for (QChar c : text) {
            out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
        }
    } else {
        const char16_t top = topOf(set);
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() <= top) {
                out.append(char(c.unicode()));
                continue;
            }
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                ++i;
            }
            out.append('?');
            ++bad;
        }
    }
    if (replaced) {
        *replaced = bad;
    }
    return out;
}

QString decode(const QByteArray& bytes, const QString& set, bool* ok) {
    bool sound = true;
    QString out;
    if (set == kUcs2) {
        sound = bytes.size() % 4 == 0 && std::all_of(bytes.begin(), bytes.end(), isHexDigit);
        if (sound) {
            out.reserve(bytes.size() / 4);
            for (qsizetype i = 0; i < bytes.size(); i += 4) {
                out.append(QChar(char16_t(bytes.mid(i, 4).toUShort(nullptr, 16))));
            }
        }
    } else if (set == kGsm) {
        sound = std::none_of(bytes.begin(), bytes.end(), [](char b) { return quint8(b) > 0x7F; });
        if (sound) {
            out = Gsm::fromSeptets(bytes);
        }
    }
    if (!sound || (set != kUcs2 && set != kGsm)) {
        out = QString::fromLatin1(bytes);
    }
    if (ok) {
        *ok = sound;
    }
    return out;
}

bool holds(const QString& text, const QString& set) {
    if (set == kUcs2) {
        return true;
    }
    if (set == kGsm) {
        return Gsm::isGsmText(text);
    }
    const char16_t top = set == kLatin1 ? 0xFF : 0x7F;
    return std::all_of(text.begin(), text.end(), [top](QChar c) { return c.unicode() <= top; });
}

}  // namespace Charset
