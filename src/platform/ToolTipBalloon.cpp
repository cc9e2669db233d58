#include "ToolTipBalloon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

namespace {

// Shape of a tip: padding inside the border, the balloon's stem and corners, the title.
constexpr int kPlainPad = 3;
constexpr int kBalloonPad = 8;
constexpr int kStemHeight = 12;
constexpr int kStemWidth = 14;
constexpr int kRadius = 7;
constexpr int kIconSize = 16;
constexpr int kTitleGap = 4;

constexpr Qt::WindowFlags kBaseFlags = Qt::ToolTip | Qt::FramelessWindowHint;

bool hasIcon(const TipLook& look) {
    return look.titleIcon >= 1 && look.titleIcon <= 3;
}

QFont titleFont() {
    QFont bold = QToolTip::font();
    bold.setBold(true);
    return bold;
}

int titleHeight(const TipLook& look) {
    return std::max(hasIcon(look) ? kIconSize : 0, QFontMetrics(titleFont()).height());
}

int textFlags(const TipLook& look) {
    return Qt::AlignLeft | Qt::AlignTop | (look.maxWidth > 0 ? Qt::TextWordWrap : 0);
}

}  // namespace

ToolTipBalloon::ToolTipBalloon() : QWidget(nullptr, kBaseFlags) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setObjectName(QStringLiteral("toolTipBubble"));
}

QMargins ToolTipBalloon::insets(const TipLook& look) {
    const int pad = look.balloon ? kBalloonPad : kPlainPad;
    return look.margin + QMargins(pad, pad + (look.balloon ? kStemHeight : 0), pad, pad);
}

QSize ToolTipBalloon::sizeFor(const TipLook& look, const QString& text) {
    const QFontMetrics fm(QToolTip::font());
    const int limit = look.maxWidth > 0 ? look.maxWidth : 0x7FFF;
    QSize content =
        text.isEmpty() ? QSize() : fm.boundingRect(QRect(0, 0, limit, 0x7FFF), textFlags(look), text).size();
    if (!look.title.isEmpty()) {
        const int titleWidth = (hasIcon(look) ? kIconSize + kTitleGap : 0) +
                               QFontMetrics(titleFont()).horizontalAdvance(look.title);
        content =
            QSize(std::max(content.width(), titleWidth), titleHeight(look) + kTitleGap + content.height());
    }
    return content.grownBy(insets(look));
}

void ToolTipBalloon::showAt(const TipLook& look, const QString& text, const QPoint& anchor,
                            Qt::WindowFlags flags) {
    m_look = look;
    m_text = text;
    if (windowFlags() != (kBaseFlags | flags)) {
        setWindowFlags(kBaseFlags | flags);
    }

    const QSize size = sizeFor(look, text);
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen ? screen->geometry() : QRect(anchor, size);

    // Below the anchor with the stem up, or above it when there is no room below.
    m_stemTop = anchor.y() + size.height() <= area.bottom() + 1;
    const int stemOffset = std::min(kRadius + kStemWidth, size.width() / 2);
    int x = look.balloon ? anchor.x() - stemOffset : anchor.x();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = m_stemTop ? anchor.y() : anchor.y() - size.height();
    m_stemX = std::clamp(anchor.x() - x, kRadius, std::max(kRadius, size.width() - kRadius));

    QMargins in = insets(look);
    const int stem = look.balloon ? kStemHeight : 0;
    if (!m_stemTop) {
        in.setTop(in.top() - stem);
        in.setBottom(in.bottom() + stem);
    }
    m_body = QRect(0, m_stemTop ? stem : 0, size.width(), size.height() - stem);
    QRect content = QRect(QPoint(), size).marginsRemoved(in);
    m_icon = m_title = QRect();
    if (!look.title.isEmpty()) {
        const int height = titleHeight(look);
        int titleLeft = content.left();
        if (hasIcon(look)) {
            m_icon = QRect(titleLeft, content.top() + (height - kIconSize) / 2, kIconSize, kIconSize);
            titleLeft += kIconSize + kTitleGap;
        }
        m_title = QRect(titleLeft, content.top(), content.right() + 1 - titleLeft, height);
        content.setTop(content.top() + height + kTitleGap);
    }
    m_textRect = content;

    setGeometry(QRect(QPoint(x, y), size));
    show();
    raise();
    update();
}

void ToolTipBalloon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_look.balloon);
    QPainterPath path;
    const QRectF body = QRectF(m_body).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_look.balloon) {
        path.addRoundedRect(body, kRadius, kRadius);
        const int baseX =
            std::clamp(m_stemX, kRadius + 1, std::max(kRadius + 1, width() - kRadius - kStemWidth - 1));
        QPolygonF stem;
        if (m_stemTop) {
            stem << QPointF(m_stemX, 0.5) << QPointF(baseX, body.top() + 1)
                 << QPointF(baseX + kStemWidth, body.top() + 1);
        } else {
            stem << QPointF(m_stemX, height() - 0.5) << QPointF(baseX, body.bottom() - 1)
                 << QPointF(baseX + kStemWidth, body.bottom() - 1);
        }
        QPainterPath stemPath;
        stemPath.addPolygon(stem);
        stemPath.closeSubpath();
        path = path.united(stemPath);
    } else {
        path.addRect(body);
    }
    p.setPen(QPen(m_look.fore, 1));
    p.setBrush(m_look.back);
    p.drawPath(path);

    p.setPen(m_look.fore);
    if (!m_look.title.isEmpty()) {
        if (hasIcon(m_look)) {
            static const QStyle::StandardPixmap kIcons[] = {QStyle::SP_MessageBoxInformation,
                                                            QStyle::SP_MessageBoxWarning,
                                                            QStyle::SP_MessageBoxCritical};
            style()->standardIcon(kIcons[m_look.titleIcon - 1]).paint(&p, m_icon);
        }
        p.setFont(titleFont());
        p.drawText(m_title, Qt::AlignLeft | Qt::AlignVCenter, m_look.title);
    }
    p.setFont(QToolTip::font());
    p.drawText(m_textRect, textFlags(m_look), m_text);
}
