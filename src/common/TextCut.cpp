#include "TextCut.h"

#include <algorithm>

namespace TextCut {

namespace {

// Whether position at (0 < at < size) lies inside one character.
bool splitsCharacter(const QString& text, qsizetype at) {
    const QChar before = text.at(at - 1);
    const QChar after = text.at(at);
    return (before.isHighSurrogate() && after.isLowSurrogate()) || (before == u'\r' && after == u'\n');
}

}  // namespace

qsizetype cutPoint(const QString& text, qsizetype limit) {
    if (limit >= text.size()) {
        return text.size();
    }
    if (limit <= 0) {
        return 0;
    }
    return splitsCharacter(text, limit) ? limit - 1 : limit;
}

QString left(const QString& text, qsizetype limit) {
    return text.left(cutPoint(text, limit));
}

QString right(const QString& text, qsizetype limit) {
    if (limit >= text.size()) {
        return text;
    }
    if (limit <= 0) {
        return {};
    }
    const qsizetype from = text.size() - limit;
    return text.mid(splitsCharacter(text, from) ? from + 1 : from);
}

QString elided(const QString& text, qsizetype limit) {
    if (text.size() <= limit) {
        return text;
    }
    return left(text, limit - 3) + QStringLiteral("...");
}

QStringList pieces(const QString& text, qsizetype size) {
    QStringList out;
    const qsizetype step = std::max<qsizetype>(1, size);
    for (qsizetype from = 0; from < text.size();) {
        const QString rest = text.mid(from, step + 1);  // one unit more tells a split character
        qsizetype len = cutPoint(rest, step);
        if (len == 0) {
            len = std::min<qsizetype>(2, rest.size());  // one character wider than the piece
        }
        out.append(text.mid(from, len));
        from += len;
    }
    return out;
}

}  // namespace TextCut
