#pragma once

#include <QLabel>

// A panel of a status bar: one line of plain text that, given less room than it needs, ends
// in "..." and shows its whole text as its tooltip. text() is always the whole text. Its
// size hint is its whole text, or the least width set, when fitsText is off (a panel that
// takes what room is left).
class StatusPanel : public QLabel {
public:
    explicit StatusPanel(QWidget* parent = nullptr, bool fitsText = true);

    void setPanelText(const QString& text);
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

    bool m_fitsText;
};
