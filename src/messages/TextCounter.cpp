#include "TextCounter.h"

#include "MessageFiles.h"

namespace TextCounter {

QString toBoxText(const QString& editorText) {
    QString text = editorText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString fromBoxText(const QString& boxText) {
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

int boxLength(const QString& editorText) {
    return int(toBoxText(editorText).size());
}

// The message files get the text with its accents replaced: that is the text measured.
int room(const QString& boxText, const SharedState& s) {
    return MessageFiles::roomFor(s, replaceAccents(boxText)).units;
}

int unitsLeft(const QString& boxText, const SharedState& s) {
    const QString sent = replaceAccents(boxText);
    const MessageFiles::SmsRoom r = MessageFiles::roomFor(s, sent);
    return r.units - Gsm::unitsIn(sent, r.coding);
}

int messageCount(const QString& boxText, const SharedState& s) {
    return int(MessageFiles::messageTexts(s, replaceAccents(boxText), true).size());
}

QString caption(const QString& editorText, const SharedState& s, bool autoSplit) {
    if (autoSplit) {
        const int k = messageCount(toBoxText(editorText), s);
        return QStringLiteral("&Message text (%1 characters, %2 %3):")
            .arg(boxLength(editorText))
            .arg(k)
            .arg(k == 1 ? QStringLiteral("message") : QStringLiteral("messages"));
    }
    return QStringLiteral("&Message text (%1 characters left):").arg(unitsLeft(toBoxText(editorText), s));
}

QString truncated(const QString& boxText, const SharedState& s) {
    return boxText.left(MessageFiles::fittingLength(s, replaceAccents(boxText)));
}

QString replaceAccents(const QString& text) {
    static const QString from = QStringLiteral(u"ÂÊÎÔÛâêîôûÁÍÓÚáíóú");
    static const QString to = QStringLiteral("AEIOUaeiouAIOUaiou");
    QString out = text;
    for (qsizetype i = 0; i < from.size(); ++i) {
        out.replace(from.at(i), to.at(i), Qt::CaseSensitive);
    }
    return out;
}

}  // namespace TextCounter
