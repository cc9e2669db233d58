#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "cToolTips.h"

// The balloon tooltips of an editor window: one tooltip window owned by the main window,
// a transparent tool per control, each with its width limit and display time.
class EditorToolTips {
public:
    static constexpr int kBalloonStyle = 0x40;
    static constexpr int kTransparentTool = 0x100;
    static constexpr int kAutoPopDelay = 2;

    // (Re)creates the tooltip window with owner as its owner.
    void create(QWidget* owner, int style);
    // Registers control's tip; creates a balloon window first when there is none.
    void add(QWidget* owner, QWidget* control, const QString& text, const QString& title, int maxWidth,
             int autoPopMilliseconds);
    cToolTips* get() const { return m_tips.get(); }

private:
    std::unique_ptr<cToolTips> m_tips;
};
