#include "EditorToolTips.h"

void EditorToolTips::create(QWidget* owner, int style) {
    m_tips = std::make_unique<cToolTips>();
    m_tips->Create(owner, style);
}

void EditorToolTips::add(QWidget* owner, QWidget* control, const QString& text, const QString& title,
                         int maxWidth, int autoPopMilliseconds) {
    if (!m_tips) {
        create(owner, kBalloonStyle);
    }
    m_tips->AddTool(control, kTransparentTool, text);
    m_tips->Title(title);
    m_tips->MaxTipWidth(maxWidth != 0 ? maxWidth : -1);
    if (autoPopMilliseconds != 0) {
        m_tips->SetDelayTime(kAutoPopDelay, autoPopMilliseconds);
    }
}
