#pragma once

#include <QString>

#include "ToolTipControl.h"

class QFontMetrics;
class QWidget;

// Balloon (or plain) tips for the controls of a window, through one tooltip window of our own
// (ToolTipControl, made and driven through ToolTipWindows).
//
// Window handles: controls and windows are QWidgets and are passed as QWidget*. A control's
// handle, as the tool records carry it, is ToolTipWindows::handleOf(control): a 32-bit id the
// widget keeps for its whole life. The tool of a control has that handle as its identifier
// and the handle of the control's parent widget as its containing window. The tooltip window
// itself is hWnd() (0 while there is none).
//
// A property is a getter and a setter of the same name: Enabled() reads, Enabled(false) sets.
// Without a window (before Create, or when it failed) every operation does nothing and every
// getter gives 0, false or "".
class cToolTips {
public:
    cToolTips() = default;
    ~cToolTips();
    cToolTips(const cToolTips&) = delete;
    cToolTips& operator=(const cToolTips&) = delete;

    // Registers the control as a tool (flags | TTF_SUBCLASS | TTF_IDISHWND); an empty text
    // registers it without text. A control may be registered more than once.
    void AddTool(QWidget* control, qint32 flags, const QString& text);
    // Makes the tooltip window (any old one is destroyed first), owned by parent, topmost.
    void Create(QWidget* parent, qint32 style);
    void DeleteTool(QWidget* control);
    bool Enabled() const;
    void Enabled(bool active);
    // Milliseconds of a delay kind (0 automatic, 1 reshow, 2 auto-pop, 3 initial).
    qint32 GetDelayTime(qint32 kind) const;
    // Title icon: 0 none, 1 information, 2 warning, 3 error.
    qint32 Icon() const;
    qint32 MakeLong(qint16 low, qint16 high) const;
    void SetTracking(QWidget* control, bool activate);
    // Screen position the tracked tip points at.
    void SetTrackPosition(QWidget* control, qint16 x, qint16 y);
    QString Title() const;
    void Icon(qint32 icon);
    void Title(const QString& text);
    void SetDelayTime(qint32 kind, qint32 milliseconds);
    void HideTips();
    // Whether (x, y), in the control's coordinates, lies on a registered tool.
    bool HitTest(QWidget* control, qint32 x, qint32 y) const;
    qint32 MarginLeft() const;
    void MarginLeft(qint32 value);
    void MarginTop(qint32 value);
    void MarginRight(qint32 value);
    void MarginBottom(qint32 value);
    qint32 MarginTop() const;
    qint32 MarginRight() const;
    qint32 MarginBottom() const;
    qint32 GetShellVersion() const;
    // Size of the tip window the control's text needs; 0 without a tool.
    qint16 GetTooltipWidth(QWidget* control) const;
    qint16 GetTooltipHeight(QWidget* control) const;
    qint32 MaxTipWidth() const;
    void MaxTipWidth(qint32 width);  // pixels, -1: no limit
    void SetToolRect(QWidget* control, qint32 left, qint32 top, qint32 right, qint32 bottom);
    qint32 ToolCount() const;
    // Colours are 0x00BBGGRR values; 0x80 in the high byte names a system colour (low byte).
    quint32 BackColor() const;
    void BackColor(quint32 color);
    void SetTipText(QWidget* control, const QString& text);
    void ForeColor(quint32 color);
    quint32 ForeColor() const;
    // Tip window size a text needs, measured with the font of dc.
    qint32 ToolTipWidthFromText(const QFontMetrics& dc, const QString& text) const;
    qint32 ToolTipHeightFromText(const QFontMetrics& dc, const QString& text) const;
    // Text size that fits a tip window of that size (the first argument is not used).
    qint32 TextHeightFromToolTipHeight(const QFontMetrics& dc, qint32 height) const;
    qint32 TextWidthFromToolTipWidth(const QFontMetrics& dc, qint32 width) const;

    WindowHandle hWnd() const { return m_hWnd; }

private:
    // The first tool whose identifier is the handle; an all-zero record (cbSize 0) when none.
    ToolInfo getToolInfo(WindowHandle handle) const;
    static qint16 loWord(qint32 value);
    static qint16 hiWord(qint32 value);
    static quint32 translateColor(quint32 color);

    qintptr send(quint32 msg, quintptr wParam, qintptr lParam) const;
    ToolInfo toolOf(QWidget* control) const;
    TtRect margins() const;
    void setMargins(const TtRect& margins);
    TtRect adjusted(TtRect rect, bool larger) const;
    void destroyWindow();

    WindowHandle m_hWnd = 0;
    bool m_active = false;
    qint32 m_icon = 0;
    QString m_title;
};
