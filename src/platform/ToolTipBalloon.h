#pragma once

#include <QColor>
#include <QMargins>
#include <QString>
#include <QWidget>

// How a tip looks: a plain box or a balloon with a stem, an optional bold title with an icon
// (1 information, 2 warning, 3 error), the text wrapped at maxWidth pixels (none when <= 0).
struct TipLook {
    bool balloon = false;
    QMargins margin;  // extra room around the text
    int maxWidth = -1;
    QString title;
    int titleIcon = 0;
    QColor back;
    QColor fore;
};

// The window a tip is shown in; it sizes, places and draws itself from a look and a text.
class ToolTipBalloon : public QWidget {
public:
    ToolTipBalloon();

    // Room between the window's edges and its text: padding, margins and the balloon's stem.
    static QMargins insets(const TipLook& look);
    // Size of the window that shows text.
    static QSize sizeFor(const TipLook& look, const QString& text);

    // Shows text below anchor (a global point), or above it when the screen has no room below;
    // a balloon's stem points at anchor.
    void showAt(const TipLook& look, const QString& text, const QPoint& anchor, Qt::WindowFlags flags);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TipLook m_look;
    QString m_text;
    bool m_stemTop = true;
    int m_stemX = 0;
    QRect m_body;  // the bubble without its stem
    QRect m_icon;
    QRect m_title;
    QRect m_textRect;
};
