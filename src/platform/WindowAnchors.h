#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Lets a window whose controls sit at fixed places be resized: each anchored control keeps
// its distance to the window's right and/or bottom edge, or grows with the window. The
// window's size when anchor() was first called is its least.
class WindowAnchors : public QObject {
public:
    enum Anchor { GrowWidth = 1, GrowHeight = 2, MoveRight = 4, MoveDown = 8 };

    // Watches window's size; the controls' places and the window's size now are the base.
    explicit WindowAnchors(QWidget* window);
    void anchor(QWidget* control, int anchors);
    // Places the anchored controls for the window's size now (a hidden window's resize
    // reaches its controls only when it is shown; call this to have them follow at once).
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* control;
        QRect base;
        int anchors;
    };
    QWidget* m_window;
    QSize m_base;
    QList<Entry> m_entries;
};
