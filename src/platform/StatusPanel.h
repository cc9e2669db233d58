#pragma once

#include <QLabel>

// A panel of a status bar: one line of plain text that, given less room than it needs, ends
// in "..." and shows its whole text as its tooltip. text() is always the whole text. A panel
// that fits its text asks for room for all of it; one that does not asks for the least width
// set and takes what room is left. Neither is narrower than the least width, nor (fitting its
// text) than its text or a third of the screen, whichever is less.
class StatusPanel : public QLabel {
public:
    // leastWidth in pixels.
    StatusPanel(QWidget* parent, int leastWidth, bool fitsText);

    void setPanelText(const QString& text);
    int leastWidth() const { return m_least; }
    bool cut() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int textWidth() const;
    QRect textRoom() const;
    void updateTip();

    int m_least;
    bool m_fitsText;
};
