#include "TextCounter.h"

#include "MessageFiles.h"
#include "TextCut.h"

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

int messageCount(const QString& boxText, int maxTextLen) {
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (text.size() <= maxTextLen) {
        return 1;
    }
    // The parts the message-file writer makes: one file each.
    return int(MessageFiles::splitText(text, maxTextLen).size());
}

QString caption(const QString& editorText, int maxTextLen, bool autoSplit) {
    const int len = boxLength(editorText);
    if (autoSplit) {
        const int k = messageCount(toBoxText(editorText), maxTextLen);
        return QStringLiteral("&Message text (%1 characters, %2 %3):")
            .arg(len)
            .arg(k)
            .arg(k == 1 ? QStringLiteral("message") : QStringLiteral("messages"));
    }
    return QStringLiteral("&Message text (%1 characters left):").arg(maxTextLen - len);
}

QString truncated(const QString& boxText, int maxTextLen) {
    return TextCut::left(boxText, maxTextLen);
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
