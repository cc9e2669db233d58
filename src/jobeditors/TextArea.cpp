#include "TextArea.h"

#include <QScrollBar>
#include <QTextDocument>

TextArea::TextArea(int lines, QWidget* parent) : QPlainTextEdit(parent), m_lines(lines) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QSize TextArea::sizeHint() const {
    const int margin = int(document()->documentMargin());
    const int height = m_lines * fontMetrics().lineSpacing() + 2 * (frameWidth() + margin);
    return {QPlainTextEdit::sizeHint().width(), height};
}

QSize TextArea::minimumSizeHint() const {
    return {QPlainTextEdit::minimumSizeHint().width(), sizeHint().height()};
}
