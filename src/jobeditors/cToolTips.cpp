#include "cToolTips.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

// A true Boolean as a message parameter.
constexpr quintptr kTrue = quintptr(-1);

template <class T>
qintptr ptr(T* record) {
    return reinterpret_cast<qintptr>(record);
}

}  // namespace

cToolTips::~cToolTips() {
    destroyWindow();
}

void cToolTips::destroyWindow() {
    if (m_hWnd != 0) {
        ToolTipWindows::destroy(m_hWnd);
        m_hWnd = 0;
    }
}

qintptr cToolTips::send(quint32 msg, quintptr wParam, qintptr lParam) const {
    return ToolTipWindows::sendMessage(m_hWnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------

void cToolTips::AddTool(QWidget* control, qint32 flags, const QString& text) {
    if (m_hWnd == 0 || !control) {
        return;
    }
    ToolInfo ti;
    ti.cbSize = Tt::kToolInfoSize;
    ti.uFlags = quint32(flags) | Tt::TTF_SUBCLASS | Tt::TTF_IDISHWND;
    ti.hwnd = ToolTipWindows::handleOf(control->parentWidget());
    ti.uId = ToolTipWindows::handleOf(control);
    ti.hinst = ToolTipWindows::kProgramInstance;
    if (!text.isEmpty()) {
        ti.text = text;
    }
    send(Tt::TTM_ADDTOOLA, 0, ptr(&ti));
}

void cToolTips::Create(QWidget* parent, qint32 style) {
    destroyWindow();
    m_active = true;
    m_icon = 0;
    m_title = QString();
    m_hWnd = ToolTipWindows::create(ToolTipWindows::kClassName, quint32(style) | Tt::WS_POPUP,
                                    Tt::WS_EX_TOPMOST, ToolTipWindows::handleOf(parent));
    if (m_hWnd != 0) {
        ToolTipWindows::setPosition(m_hWnd, Tt::HWND_TOPMOST, 0, 0, 0, 0,
                                    Tt::SWP_NOSIZE | Tt::SWP_NOMOVE | Tt::SWP_NOACTIVATE);
    }
}

void cToolTips::DeleteTool(QWidget* control) {
    ToolInfo ti = toolOf(control);
    if (ti.cbSize != 0) {
        send(Tt::TTM_DELTOOLA, 0, ptr(&ti));
    }
}

bool cToolTips::Enabled() const {
    return m_hWnd != 0 && m_active;
}

void cToolTips::Enabled(bool active) {
    if (m_hWnd == 0) {
        return;
    }
    m_active = active;
    send(Tt::TTM_ACTIVATE, active ? kTrue : 0, 0);
}

qint32 cToolTips::GetDelayTime(qint32 kind) const {
    return m_hWnd == 0 ? 0 : qint32(send(Tt::TTM_GETDELAYTIME, quintptr(kind), 0));
}

qint32 cToolTips::Icon() const {
    return m_hWnd == 0 ? 0 : m_icon;
}

qint32 cToolTips::MakeLong(qint16 low, qint16 high) const {
    return qint32((quint32(quint16(high)) << 16) | quint32(quint16(low)));
}

void cToolTips::SetTracking(QWidget* control, bool activate) {
    ToolInfo ti = toolOf(control);
    if (ti.cbSize != 0) {
        send(Tt::TTM_TRACKACTIVATE, activate ? kTrue : 0, ptr(&ti));
    }
}

void cToolTips::SetTrackPosition(QWidget* control, qint16 x, qint16 y) {
    if (toolOf(control).cbSize != 0) {
        send(Tt::TTM_TRACKPOSITION, 0, MakeLong(x, y));
    }
}

QString cToolTips::Title() const {
    return m_hWnd == 0 ? QString() : m_title;
}

void cToolTips::Icon(qint32 icon) {
    if (m_hWnd == 0) {
        return;
    }
    m_icon = icon;
    send(Tt::TTM_SETTITLEA, quintptr(m_icon), ptr(&m_title));
}

void cToolTips::Title(const QString& text) {
    if (m_hWnd == 0) {
        return;
    }
    m_title = text;
    send(Tt::TTM_SETTITLEA, quintptr(m_icon), ptr(&m_title));
}

void cToolTips::SetDelayTime(qint32 kind, qint32 milliseconds) {
    if (m_hWnd != 0) {
        send(Tt::TTM_SETDELAYTIME, quintptr(kind), milliseconds);
    }
}

void cToolTips::HideTips() {
    if (m_hWnd != 0) {
        send(Tt::TTM_POP, 0, 0);
    }
}

bool cToolTips::HitTest(QWidget* control, qint32 x, qint32 y) const {
    if (m_hWnd == 0 || !control) {
        return false;
    }
    TtHitTestInfo hti;
    hti.hwnd = ToolTipWindows::handleOf(control);
    hti.pt = QPoint(x, y);
    hti.ti.cbSize = Tt::kToolInfoSize;
    return send(Tt::TTM_HITTESTA, 0, ptr(&hti)) != 0;
}

TtRect cToolTips::margins() const {
    TtRect rc;
    if (m_hWnd != 0) {
        send(Tt::TTM_GETMARGIN, 0, ptr(&rc));
    }
    return rc;
}

void cToolTips::setMargins(const TtRect& margins) {
    if (m_hWnd != 0) {
        send(Tt::TTM_SETMARGIN, 0, ptr(&margins));
    }
}

qint32 cToolTips::MarginLeft() const {
    return margins().left;
}

void cToolTips::MarginLeft(qint32 value) {
    setMargins({value, MarginTop(), MarginRight(), MarginBottom()});
}

void cToolTips::MarginTop(qint32 value) {
    setMargins({MarginLeft(), value, MarginRight(), MarginBottom()});
}

void cToolTips::MarginRight(qint32 value) {
    setMargins({MarginLeft(), MarginTop(), value, MarginBottom()});
}

void cToolTips::MarginBottom(qint32 value) {
    setMargins({MarginLeft(), MarginTop(), MarginRight(), value});
}

qint32 cToolTips::MarginTop() const {
    return margins().top;
}

qint32 cToolTips::MarginRight() const {
    return margins().right;
}

qint32 cToolTips::MarginBottom() const {
    return margins().bottom;
}

qint32 cToolTips::GetShellVersion() const {
    return 0;
}

qint16 cToolTips::GetTooltipWidth(QWidget* control) const {
    ToolInfo ti = toolOf(control);
    return ti.cbSize == 0 ? 0 : loWord(qint32(send(Tt::TTM_GETBUBBLESIZE, 0, ptr(&ti))));
}

qint16 cToolTips::GetTooltipHeight(QWidget* control) const {
    ToolInfo ti = toolOf(control);
    return ti.cbSize == 0 ? 0 : hiWord(qint32(send(Tt::TTM_GETBUBBLESIZE, 0, ptr(&ti))));
}

qint32 cToolTips::MaxTipWidth() const {
    return m_hWnd == 0 ? 0 : qint32(send(Tt::TTM_GETMAXTIPWIDTH, 0, 0));
}

void cToolTips::MaxTipWidth(qint32 width) {
    if (m_hWnd != 0) {
        send(Tt::TTM_SETMAXTIPWIDTH, 0, width);
    }
}

void cToolTips::SetToolRect(QWidget* control, qint32 left, qint32 top, qint32 right, qint32 bottom) {
    ToolInfo ti = toolOf(control);
    if (ti.cbSize != 0) {
        ti.rect = {left, top, right, bottom};
        send(Tt::TTM_NEWTOOLRECTA, 0, ptr(&ti));
    }
}

qint32 cToolTips::ToolCount() const {
    return m_hWnd == 0 ? 0 : qint32(send(Tt::TTM_GETTOOLCOUNT, 0, 0));
}

quint32 cToolTips::BackColor() const {
    return m_hWnd == 0 ? 0 : quint32(send(Tt::TTM_GETTIPBKCOLOR, 0, 0));
}

void cToolTips::BackColor(quint32 color) {
    if (m_hWnd != 0) {
        send(Tt::TTM_SETTIPBKCOLOR, translateColor(color), 0);
    }
}

void cToolTips::SetTipText(QWidget* control, const QString& text) {
    ToolInfo ti = toolOf(control);
    if (ti.cbSize != 0) {
        ti.text = text;
        ti.cbSize = Tt::kToolInfoSize;
        send(Tt::TTM_UPDATETIPTEXTA, 0, ptr(&ti));
    }
}

void cToolTips::ForeColor(quint32 color) {
    if (m_hWnd != 0) {
        send(Tt::TTM_SETTIPTEXTCOLOR, translateColor(color), 0);
    }
}

quint32 cToolTips::ForeColor() const {
    return m_hWnd == 0 ? 0 : quint32(send(Tt::TTM_GETTIPTEXTCOLOR, 0, 0));
}

TtRect cToolTips::adjusted(TtRect rect, bool larger) const {
    if (m_hWnd == 0) {
        return {};
    }
    send(Tt::TTM_ADJUSTRECT, larger ? kTrue : 0, ptr(&rect));
    return rect;
}

qint32 cToolTips::ToolTipWidthFromText(const QFontMetrics& dc, const QString& text) const {
    const TtRect rc = adjusted({0, 0, dc.horizontalAdvance(text), dc.height()}, true);
    return rc.right - rc.left;
}

qint32 cToolTips::ToolTipHeightFromText(const QFontMetrics& dc, const QString& text) const {
    const TtRect rc = adjusted({0, 0, dc.horizontalAdvance(text), dc.height()}, true);
    return rc.bottom - rc.top;
}

qint32 cToolTips::TextHeightFromToolTipHeight(const QFontMetrics&, qint32 height) const {
    const TtRect rc = adjusted({0, 0, 0, height}, false);
    return rc.bottom - rc.top;
}

qint32 cToolTips::TextWidthFromToolTipWidth(const QFontMetrics&, qint32 width) const {
    const TtRect rc = adjusted({0, 0, width, 0}, false);
    return rc.right - rc.left;
}

// ---------------------------------------------------------------------------------------------

ToolInfo cToolTips::toolOf(QWidget* control) const {
    return control ? getToolInfo(ToolTipWindows::handleOf(control)) : ToolInfo{};
}

ToolInfo cToolTips::getToolInfo(WindowHandle handle) const {
    if (m_hWnd == 0) {
        return {};
    }
    ToolInfo ti;
    ti.cbSize = Tt::kToolInfoSize;
    const qint32 n = ToolCount();
    for (qint32 i = 0; i < n; ++i) {
        if (send(Tt::TTM_ENUMTOOLSA, quintptr(i), ptr(&ti)) != 0 && ti.uId == handle) {
            return ti;
        }
    }
    return {};
}

qint16 cToolTips::loWord(qint32 value) {
    return qint16(quint32(value) & 0xFFFF);
}

qint16 cToolTips::hiWord(qint32 value) {
    return qint16((quint32(value) >> 16) & 0xFFFF);
}

quint32 cToolTips::translateColor(quint32 color) {
    return (color & 0xFF000000u) == 0x80000000u ? systemColor(int(color & 0xFF)) : color;
}
