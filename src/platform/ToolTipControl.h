#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;
class ToolTipBalloon;
struct TipLook;

// Our own tooltip control: a window-like object made by class name through ToolTipWindows,
// driven only by messages, that keeps a list of tools (controls with a tip text) and shows
// the tip of the control the pointer rests on, through Qt.
//
// Window handles are 32-bit ids (0 = none). A QWidget gets its handle from
// ToolTipWindows::handleOf() on first use and keeps it for its whole life; a tooltip window
// gets one from ToolTipWindows::create(). Handles are never reused.
using WindowHandle = quint32;

// Message codes, tool flags, styles and delay kinds, with the values the callers were
// written against.
namespace Tt {
inline constexpr quint32 TTM_ACTIVATE = 0x401;
inline constexpr quint32 TTM_SETDELAYTIME = 0x403;
inline constexpr quint32 TTM_ADDTOOLA = 0x404;
inline constexpr quint32 TTM_DELTOOLA = 0x405;
inline constexpr quint32 TTM_NEWTOOLRECTA = 0x406;
inline constexpr quint32 TTM_HITTESTA = 0x40A;
inline constexpr quint32 TTM_UPDATETIPTEXTA = 0x40C;
inline constexpr quint32 TTM_GETTOOLCOUNT = 0x40D;
inline constexpr quint32 TTM_ENUMTOOLSA = 0x40E;
inline constexpr quint32 TTM_TRACKACTIVATE = 0x411;
inline constexpr quint32 TTM_TRACKPOSITION = 0x412;
inline constexpr quint32 TTM_SETTIPBKCOLOR = 0x413;
inline constexpr quint32 TTM_SETTIPTEXTCOLOR = 0x414;
inline constexpr quint32 TTM_GETDELAYTIME = 0x415;
inline constexpr quint32 TTM_GETTIPBKCOLOR = 0x416;
inline constexpr quint32 TTM_GETTIPTEXTCOLOR = 0x417;
inline constexpr quint32 TTM_SETMAXTIPWIDTH = 0x418;
inline constexpr quint32 TTM_GETMAXTIPWIDTH = 0x419;
inline constexpr quint32 TTM_SETMARGIN = 0x41A;
inline constexpr quint32 TTM_GETMARGIN = 0x41B;
inline constexpr quint32 TTM_POP = 0x41C;
inline constexpr quint32 TTM_GETBUBBLESIZE = 0x41E;
inline constexpr quint32 TTM_ADJUSTRECT = 0x41F;
inline constexpr quint32 TTM_SETTITLEA = 0x420;

inline constexpr quint32 TTF_IDISHWND = 0x1;       // the tool's id is its control's handle
inline constexpr quint32 TTF_SUBCLASS = 0x10;      // the control watches the tool's pointer itself
inline constexpr quint32 TTF_TRACK = 0x20;         // shown only through tracking, never on hover
inline constexpr quint32 TTF_TRANSPARENT = 0x100;  // the tip lets the pointer through

inline constexpr quint32 TTS_ALWAYSTIP = 0x1;  // tips also while the tool's window is not active
inline constexpr quint32 TTS_BALLOON = 0x40;

inline constexpr quint32 WS_POPUP = 0x80000000u;
inline constexpr quint32 WS_EX_TOPMOST = 0x8;
inline constexpr WindowHandle HWND_TOPMOST = WindowHandle(-1);
inline constexpr quint32 SWP_NOSIZE = 0x1;
inline constexpr quint32 SWP_NOMOVE = 0x2;
inline constexpr quint32 SWP_NOACTIVATE = 0x10;

inline constexpr int TTDT_AUTOMATIC = 0;
inline constexpr int TTDT_RESHOW = 1;
inline constexpr int TTDT_AUTOPOP = 2;
inline constexpr int TTDT_INITIAL = 3;

inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

// Size of a tool record as callers fill it in; a record of another size is refused.
inline constexpr quint32 kToolInfoSize = 44;
}  // namespace Tt

struct TtRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    friend bool operator==(const TtRect&, const TtRect&) = default;
};

// One tool, the record exchanged with the control (lParam of the tool messages points at
// one). The text travels with the record; a null text means "no text".
struct ToolInfo {
    quint32 cbSize = 0;  // Tt::kToolInfoSize, or 0 for "no record"
    quint32 uFlags = 0;
    WindowHandle hwnd = 0;  // the window that contains the tool
    WindowHandle uId = 0;   // with TTF_IDISHWND the control's handle; a tool with any other id is kept
                            // but never shown nor hit
    TtRect rect;            // kept as given; a control's tool covers the whole control
    quint32 hinst = 0;
    QString text;
    qint32 lParam = 0;
};

// lParam of TTM_HITTESTA: a window, a point in its coordinates, and the tool found there.
struct TtHitTestInfo {
    WindowHandle hwnd = 0;
    QPoint pt;
    ToolInfo ti;
};

// Colours as 0x00BBGGRR values.
quint32 colorRef(int r, int g, int b);
// The current value of a system colour (0-30: window, text, button face, info background...)
// taken from the application palette.
quint32 systemColor(int index);

class ToolTipControl;

// The window manager of our tooltip windows: create, destroy, position, send messages.
// Used from the UI thread only.
class ToolTipWindows {
public:
    static constexpr QLatin1String kClassName{"tooltips_class32"};
    // The program's instance handle as tool records carry it.
    static constexpr quint32 kProgramInstance = 1;

    // A new window of the class (compared without regard to case); 0 for any other class or
    // without a GUI application. The window is destroyed with its owner.
    static WindowHandle create(const QString& className, quint32 style, quint32 exStyle, WindowHandle owner);
    static bool destroy(WindowHandle hwnd);
    static bool isWindow(WindowHandle hwnd);
    // Z-order (HWND_TOPMOST keeps the tips above every window), position and size, as flags say.
    static bool setPosition(WindowHandle hwnd, WindowHandle insertAfter, int x, int y, int cx, int cy,
                            quint32 flags);
    // Delivers a message; 0 when hwnd is not a tooltip window.
    static qintptr sendMessage(WindowHandle hwnd, quint32 msg, quintptr wParam, qintptr lParam);

    // Called for every sendMessage, valid window or not (a message hook); returns the old one.
    using MessageHook = std::function<void(WindowHandle, quint32, quintptr, qintptr)>;
    static MessageHook setMessageHook(MessageHook hook);

    // Handles of ordinary widgets: assigned on first use, kept for the widget's life.
    static WindowHandle handleOf(QWidget* widget);
    static QWidget* widgetOf(WindowHandle hwnd);

    static ToolTipControl* control(WindowHandle hwnd);
};

class ToolTipControl : public QObject {
public:
    ToolTipControl(WindowHandle handle, quint32 style, quint32 exStyle, QWidget* owner);
    ~ToolTipControl() override;

    qintptr message(quint32 msg, quintptr wParam, qintptr lParam);

    WindowHandle handle() const { return m_handle; }
    quint32 style() const { return m_style; }
    QWidget* owner() const { return m_owner; }
    bool topmost() const { return m_topmost; }
    void setTopmost(bool on);
    bool active() const { return m_active; }
    QString title() const { return m_title; }
    int titleIcon() const { return m_titleIcon; }
    const QList<ToolInfo>& tools() const { return m_tools; }

    // The tip window (nullptr before the first tip) and what it shows.
    QWidget* tipWindow() const;
    bool isTipShown() const;
    QString shownText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int findTool(const ToolInfo* ti) const;
    QWidget* toolWidget(const ToolInfo& tool) const;
    int toolAt(QWidget* w, const QPoint& local) const;
    void watch(const ToolInfo& tool);
    void unwatch(const ToolInfo& tool);
    TipLook look() const;
    void schedule(int index);
    void showPending();
    void showTip(int index, const QPoint& anchor, bool tracking);
    void pop();
    int delay(int kind) const;

    WindowHandle m_handle;
    quint32 m_style;
    QPointer<QWidget> m_owner;
    bool m_topmost = false;
    bool m_active = true;
    QList<ToolInfo> m_tools;
    int m_delay[4] = {-1, -1, -1, -1};  // by kind; -1: the default
    quint32 m_backColor;
    quint32 m_textColor;
    int m_maxWidth = -1;
    TtRect m_margin;
    QString m_title;
    int m_titleIcon = Tt::TTI_NONE;

    // Pointer and tip state.
    QPointer<QWidget> m_hoverWidget;
    QPoint m_pointer;  // global
    WindowHandle m_pendingHwnd = 0, m_pendingId = 0;
    WindowHandle m_shownHwnd = 0, m_shownId = 0;
    bool m_tracking = false;
    bool m_trackPosSet = false;
    QPoint m_trackPos;
    QPoint m_anchor;  // where the tip shown now points
    QTimer m_initialTimer;
    QTimer m_popTimer;
    ToolTipBalloon* m_bubble = nullptr;
};
