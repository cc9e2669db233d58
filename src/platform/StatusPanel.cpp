#include "StatusPanel.h"

#include <QPainter>
#include <QScreen>
#include <QStyle>

StatusPanel::StatusPanel(QWidget* parent, int leastWidth, bool fitsText)
    : QLabel(parent), m_least(leastWidth), m_fitsText(fitsText) {
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
    return QSize(m_fitsText ? qMax(whole.width(), m_least) : m_least, whole.height());
}

QSize StatusPanel::minimumSizeHint() const {
    // A panel that fits its text keeps it whole, so its window grows for it; only a text
    // longer than a third of the screen may be cut.
    // (The least width is no minimumWidth(): a layout would take that over this hint.)
    int least = m_least;
    if (m_fitsText) {
        const QScreen* s = screen();
        const int most = s ? s->availableGeometry().width() / 3 : QWIDGETSIZE_MAX;
        least = qMax(least, qMin(QLabel::sizeHint().width(), most));
    }
    return QSize(least, QLabel::minimumSizeHint().height());
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
