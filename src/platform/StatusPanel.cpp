#include "StatusPanel.h"

#include <QPainter>
#include <QStyle>

StatusPanel::StatusPanel(QWidget* parent, bool fitsText) : QLabel(parent), m_fitsText(fitsText) {
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void StatusPanel::setPanelText(const QString& text) {
    if (text == this->text()) {
        return;
    }
    setText(text);
    updateGeometry();
    updateTip();
}

int StatusPanel::textWidth() const {
    return fontMetrics().horizontalAdvance(text());
}

QRect StatusPanel::textRoom() const {
    // As QLabel draws it: inside the frame and margin, after an indent of half an "x" beside
    // a frame when none is set.
    const int indent = this->indent() >= 0
                           ? this->indent()
                           : (frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0);
    return contentsRect().adjusted(margin() + indent, margin(), -margin() - indent, -margin());
}

bool StatusPanel::cut() const {
    return textWidth() > textRoom().width();
}

QSize StatusPanel::sizeHint() const {
    const QSize whole = QLabel::sizeHint();
    return m_fitsText ? whole.expandedTo(minimumSize()) : QSize(minimumWidth(), whole.height());
}

QSize StatusPanel::minimumSizeHint() const {
    return QSize(minimumWidth(), QLabel::minimumSizeHint().height());
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = textRoom();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

void StatusPanel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateTip();
}

void StatusPanel::updateTip() {
    setToolTip(cut() ? text() : QString());
}
