#include "ToolTipControl.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QHash>
#include <QWidget>
#include <algorithm>

#include "ToolTipBalloon.h"

namespace {

const char kHandleProperty[] = "tellwickWindowHandle";

constexpr int kPointerHeight = 16;  // a hover tip goes below the pointer's arrow

struct Registry {
    WindowHandle last = 0;
    QHash<WindowHandle, QPointer<QWidget>> widgets;
    QHash<WindowHandle, ToolTipControl*> controls;
    ToolTipWindows::MessageHook hook;
};

// Lives until the process ends, so widgets destroyed late still find it.
Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

QColor fromColorRef(quint32 c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

quint32 toColorRef(const QColor& c) {
    return colorRef(c.red(), c.green(), c.blue());
}

}  // namespace

quint32 colorRef(int r, int g, int b) {
    return quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16);
}

quint32 systemColor(int index) {
    struct Source {
        QPalette::ColorRole role;
        QPalette::ColorGroup group = QPalette::Active;
    };
    // By index: what the palette holds closest to each of the system's colours.
    static const Source kSources[] = {
        {QPalette::Button},                          // 0 scroll bar
        {QPalette::Dark},                            // 1 desktop
        {QPalette::Highlight},                       // 2 active caption
        {QPalette::Mid},                             // 3 inactive caption
        {QPalette::Window},                          // 4 menu
        {QPalette::Base},                            // 5 window background
        {QPalette::Shadow},                          // 6 window frame
        {QPalette::WindowText},                      // 7 menu text
        {QPalette::Text},                            // 8 window text
        {QPalette::HighlightedText},                 // 9 caption text
        {QPalette::Button},                          // 10 active border
        {QPalette::Button},                          // 11 inactive border
        {QPalette::Mid},                             // 12 application workspace
        {QPalette::Highlight},                       // 13 selection
        {QPalette::HighlightedText},                 // 14 selected text
        {QPalette::Button},                          // 15 button face
        {QPalette::Dark},                            // 16 button shadow
        {QPalette::Text, QPalette::Disabled},        // 17 grey text
        {QPalette::ButtonText},                      // 18 button text
        {QPalette::WindowText, QPalette::Disabled},  // 19 inactive caption text
        {QPalette::Light},                           // 20 button highlight
        {QPalette::Shadow},                          // 21 dark 3-D shadow
        {QPalette::Midlight},                        // 22 3-D light
        {QPalette::ToolTipText},                     // 23 info text
        {QPalette::ToolTipBase},                     // 24 info background
        {QPalette::NoRole},                          // 25 unused
        {QPalette::Link},                            // 26 hot-tracked item
        {QPalette::Highlight},                       // 27 active caption gradient
        {QPalette::Mid},                             // 28 inactive caption gradient
        {QPalette::Highlight},                       // 29 menu highlight
        {QPalette::Window},                          // 30 menu bar
    };
    if (index < 0 || index >= int(std::size(kSources)) || kSources[index].role == QPalette::NoRole) {
        return 0;
    }
    const Source& s = kSources[index];
    return toColorRef(QGuiApplication::palette().color(s.group, s.role));
}

// ---------------------------------------------------------------------------------------------
// The window manager.

WindowHandle ToolTipWindows::create(const QString& className, quint32 style, quint32 exStyle,
                                    WindowHandle owner) {
    if (className.compare(kClassName, Qt::CaseInsensitive) != 0 ||
        !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return 0;
    }
    QWidget* ownerWidget = widgetOf(owner);
    if (owner != 0 && !ownerWidget) {
        return 0;
    }
    Registry& r = registry();
    const WindowHandle h = ++r.last;
    auto* control = new ToolTipControl(h, style, exStyle, ownerWidget);
    r.controls.insert(h, control);
    if (ownerWidget) {
        // An owned window goes with its owner.
        QObject::connect(ownerWidget, &QObject::destroyed, control, [h] { destroy(h); });
    }
    return h;
}

bool ToolTipWindows::destroy(WindowHandle hwnd) {
    ToolTipControl* control = registry().controls.take(hwnd);
    delete control;
    return control != nullptr;
}

bool ToolTipWindows::isWindow(WindowHandle hwnd) {
    return registry().controls.contains(hwnd) || widgetOf(hwnd) != nullptr;
}

bool ToolTipWindows::setPosition(WindowHandle hwnd, WindowHandle insertAfter, int x, int y, int cx, int cy,
                                 quint32 flags) {
    ToolTipControl* c = control(hwnd);
    if (!c) {
        return false;
    }
    if (insertAfter == Tt::HWND_TOPMOST) {
        c->setTopmost(true);
    }
    // A tip places and sizes itself whenever it shows; a position given here would hold only
    // until then.
    (void)x, (void)y, (void)cx, (void)cy, (void)flags;
    return true;
}

qintptr ToolTipWindows::sendMessage(WindowHandle hwnd, quint32 msg, quintptr wParam, qintptr lParam) {
    Registry& r = registry();
    if (r.hook) {
        r.hook(hwnd, msg, wParam, lParam);
    }
    ToolTipControl* c = control(hwnd);
    return c ? c->message(msg, wParam, lParam) : 0;
}

ToolTipWindows::MessageHook ToolTipWindows::setMessageHook(MessageHook hook) {
    return std::exchange(registry().hook, std::move(hook));
}

WindowHandle ToolTipWindows::handleOf(QWidget* widget) {
    if (!widget) {
        return 0;
    }
    const QVariant known = widget->property(kHandleProperty);
    if (known.isValid()) {
        return known.value<WindowHandle>();
    }
    Registry& r = registry();
    const WindowHandle h = ++r.last;
    widget->setProperty(kHandleProperty, QVariant::fromValue(h));
    r.widgets.insert(h, widget);
    QObject::connect(widget, &QObject::destroyed, [h] { registry().widgets.remove(h); });
    return h;
}

QWidget* ToolTipWindows::widgetOf(WindowHandle hwnd) {
    if (hwnd == 0) {
        return nullptr;
    }
    return registry().widgets.value(hwnd).data();
}

ToolTipControl* ToolTipWindows::control(WindowHandle hwnd) {
    return registry().controls.value(hwnd);
}

// ---------------------------------------------------------------------------------------------
// The control.

ToolTipControl::ToolTipControl(WindowHandle handle, quint32 style, quint32 exStyle, QWidget* owner)
    : m_handle(handle),
      m_style(style),
      m_owner(owner),
      m_topmost(exStyle & Tt::WS_EX_TOPMOST),
      m_backColor(systemColor(24)),
      m_textColor(systemColor(23)) {
    m_initialTimer.setSingleShot(true);
    m_popTimer.setSingleShot(true);
    connect(&m_initialTimer, &QTimer::timeout, this, [this] { showPending(); });
    connect(&m_popTimer, &QTimer::timeout, this, [this] { pop(); });
}

ToolTipControl::~ToolTipControl() {
    for (const ToolInfo& tool : std::as_const(m_tools)) {
        if (QWidget* w = toolWidget(tool)) {
            w->removeEventFilter(this);
        }
    }
    delete m_bubble;
}

void ToolTipControl::setTopmost(bool on) {
    m_topmost = on;
}

QWidget* ToolTipControl::tipWindow() const {
    return m_bubble;
}

bool ToolTipControl::isTipShown() const {
    return m_bubble && m_bubble->isVisible();
}

QString ToolTipControl::shownText() const {
    return isTipShown() ? m_bubble->text() : QString();
}

int ToolTipControl::delay(int kind) const {
    const int initial =
        m_delay[Tt::TTDT_INITIAL] >= 0 ? m_delay[Tt::TTDT_INITIAL] : QApplication::doubleClickInterval();
    switch (kind) {
        case Tt::TTDT_AUTOMATIC:
        case Tt::TTDT_INITIAL:
            return initial;
        case Tt::TTDT_AUTOPOP:
            return m_delay[kind] >= 0 ? m_delay[kind] : initial * 10;
        case Tt::TTDT_RESHOW:
            return m_delay[kind] >= 0 ? m_delay[kind] : initial / 5;
        default:
            return 0;
    }
}

qintptr ToolTipControl::message(quint32 msg, quintptr wParam, qintptr lParam) {
    // lParam points at a tool record only for the tool messages; look at it only there.
    auto* ti = reinterpret_cast<ToolInfo*>(lParam);
    auto isRecord = [ti] { return ti && ti->cbSize == Tt::kToolInfoSize; };
    switch (msg) {
        case Tt::TTM_ACTIVATE:
            m_active = wParam != 0;
            if (!m_active) {
                pop();
            }
            return 0;
        case Tt::TTM_SETDELAYTIME: {
            const int ms = lParam < 0 ? -1 : int(std::min<qintptr>(lParam, INT_MAX));
            if (wParam == quintptr(Tt::TTDT_AUTOMATIC)) {
                m_delay[Tt::TTDT_INITIAL] = ms;
                m_delay[Tt::TTDT_AUTOPOP] = ms < 0 ? -1 : ms * 10;
                m_delay[Tt::TTDT_RESHOW] = ms < 0 ? -1 : ms / 5;
            } else if (wParam <= quintptr(Tt::TTDT_INITIAL)) {
                m_delay[wParam] = ms;
            }
            return 0;
        }
        case Tt::TTM_GETDELAYTIME:
            return wParam <= quintptr(Tt::TTDT_INITIAL) ? delay(int(wParam)) : 0;
        case Tt::TTM_ADDTOOLA:
            if (!isRecord()) {
                return 0;
            }
            m_tools.append(*ti);
            watch(*ti);
            return 1;
        case Tt::TTM_DELTOOLA: {
            const int i = isRecord() ? findTool(ti) : -1;
            if (i >= 0) {
                const ToolInfo gone = m_tools.takeAt(i);
                if (gone.hwnd == m_shownHwnd && gone.uId == m_shownId && findTool(&gone) < 0) {
                    pop();
                }
                unwatch(gone);
            }
            return 0;
        }
        case Tt::TTM_NEWTOOLRECTA: {
            const int i = isRecord() ? findTool(ti) : -1;
            if (i >= 0) {
                m_tools[i].rect = ti->rect;
            }
            return 0;
        }
        case Tt::TTM_UPDATETIPTEXTA: {
            const int i = isRecord() ? findTool(ti) : -1;
            if (i >= 0) {
                m_tools[i].text = ti->text;
                m_tools[i].hinst = ti->hinst;
                if (isTipShown() && m_tools[i].hwnd == m_shownHwnd && m_tools[i].uId == m_shownId) {
                    showTip(i, m_anchor, m_tracking);
                }
            }
            return 0;
        }
        case Tt::TTM_GETTOOLCOUNT:
            return m_tools.size();
        case Tt::TTM_ENUMTOOLSA:
            if (!isRecord() || wParam >= quintptr(m_tools.size())) {
                return 0;
            }
            *ti = m_tools.at(int(wParam));
            return 1;
        case Tt::TTM_HITTESTA: {
            auto* hti = reinterpret_cast<TtHitTestInfo*>(lParam);
            if (!hti) {
                return 0;
            }
            for (const ToolInfo& tool : std::as_const(m_tools)) {
                const QWidget* w = toolWidget(tool);
                if (w && tool.uId == hti->hwnd && w->rect().contains(hti->pt)) {
                    hti->ti = tool;
                    return 1;
                }
            }
            return 0;
        }
        case Tt::TTM_TRACKACTIVATE: {
            const int i = isRecord() ? findTool(ti) : -1;
            if (wParam) {
                if (i >= 0 && m_active) {
                    QPoint at = m_trackPos;
                    if (!m_trackPosSet) {
                        const QWidget* w = toolWidget(m_tools.at(i));
                        at = w ? w->mapToGlobal(QPoint(w->width() / 2, w->height())) : QPoint();
                    }
                    showTip(i, at, true);
                }
            } else if (m_tracking) {
                pop();
            }
            return 0;
        }
        case Tt::TTM_TRACKPOSITION:
            m_trackPos = QPoint(qint16(lParam & 0xFFFF), qint16((lParam >> 16) & 0xFFFF));
            m_trackPosSet = true;
            if (m_tracking && isTipShown()) {
                const int i = findTool(nullptr);
                if (i >= 0) {
                    showTip(i, m_trackPos, true);
                }
            }
            return 0;
        case Tt::TTM_SETTIPBKCOLOR:
            m_backColor = quint32(wParam) & 0xFFFFFF;
            return 0;
        case Tt::TTM_SETTIPTEXTCOLOR:
            m_textColor = quint32(wParam) & 0xFFFFFF;
            return 0;
        case Tt::TTM_GETTIPBKCOLOR:
            return m_backColor;
        case Tt::TTM_GETTIPTEXTCOLOR:
            return m_textColor;
        case Tt::TTM_SETMAXTIPWIDTH: {
            const int old = m_maxWidth;
            m_maxWidth = lParam < 0 ? -1 : int(std::min<qintptr>(lParam, INT_MAX));
            return old;
        }
        case Tt::TTM_GETMAXTIPWIDTH:
            return m_maxWidth;
        case Tt::TTM_SETMARGIN:
            if (lParam) {
                m_margin = *reinterpret_cast<const TtRect*>(lParam);
            }
            return 0;
        case Tt::TTM_GETMARGIN:
            if (lParam) {
                *reinterpret_cast<TtRect*>(lParam) = m_margin;
            }
            return 0;
        case Tt::TTM_POP:
            pop();
            return 0;
        case Tt::TTM_GETBUBBLESIZE: {
            const int i = isRecord() ? findTool(ti) : -1;
            if (i < 0) {
                return 0;
            }
            const QSize s = ToolTipBalloon::sizeFor(look(), m_tools.at(i).text);
            return qintptr((quint32(s.height() & 0xFFFF) << 16) | quint32(s.width() & 0xFFFF));
        }
        case Tt::TTM_ADJUSTRECT: {
            auto* rc = reinterpret_cast<TtRect*>(lParam);
            if (!rc) {
                return 0;
            }
            const QMargins in = ToolTipBalloon::insets(look());
            const int sign = wParam ? 1 : -1;
            rc->left -= sign * in.left();
            rc->top -= sign * in.top();
            rc->right += sign * in.right();
            rc->bottom += sign * in.bottom();
            return 1;
        }
        case Tt::TTM_SETTITLEA:
            m_titleIcon = int(wParam);
            m_title = lParam ? *reinterpret_cast<const QString*>(lParam) : QString();
            return 1;
        default:
            return 0;
    }
}

int ToolTipControl::findTool(const ToolInfo* ti) const {
    // Without a record: the tool shown now.
    const WindowHandle hwnd = ti ? ti->hwnd : m_shownHwnd;
    const WindowHandle id = ti ? ti->uId : m_shownId;
    for (int i = 0; i < m_tools.size(); ++i) {
        if (m_tools.at(i).hwnd == hwnd && m_tools.at(i).uId == id) {
            return i;
        }
    }
    return -1;
}

QWidget* ToolTipControl::toolWidget(const ToolInfo& tool) const {
    return (tool.uFlags & Tt::TTF_IDISHWND) ? ToolTipWindows::widgetOf(tool.uId) : nullptr;
}

int ToolTipControl::toolAt(QWidget* w, const QPoint& local) const {
    if (!w->rect().contains(local)) {
        return -1;
    }
    for (int i = 0; i < m_tools.size(); ++i) {
        if ((m_tools.at(i).uFlags & Tt::TTF_SUBCLASS) && toolWidget(m_tools.at(i)) == w) {
            return i;
        }
    }
    return -1;
}

void ToolTipControl::watch(const ToolInfo& tool) {
    if (QWidget* w = toolWidget(tool); w && (tool.uFlags & Tt::TTF_SUBCLASS)) {
        w->installEventFilter(this);
    }
}

void ToolTipControl::unwatch(const ToolInfo& tool) {
    QWidget* w = toolWidget(tool);
    if (!w) {
        return;
    }
    for (const ToolInfo& other : std::as_const(m_tools)) {
        if ((other.uFlags & Tt::TTF_SUBCLASS) && toolWidget(other) == w) {
            return;
        }
    }
    w->removeEventFilter(this);
}

TipLook ToolTipControl::look() const {
    TipLook look;
    look.balloon = m_style & Tt::TTS_BALLOON;
    look.margin = QMargins(m_margin.left, m_margin.top, m_margin.right, m_margin.bottom);
    look.maxWidth = m_maxWidth;
    look.title = m_title;
    look.titleIcon = m_titleIcon;
    look.back = fromColorRef(m_backColor);
    look.fore = fromColorRef(m_textColor);
    return look;
}

void ToolTipControl::schedule(int index) {
    if (index < 0) {
        m_initialTimer.stop();
        m_pendingHwnd = m_pendingId = 0;
        return;
    }
    const ToolInfo& tool = m_tools.at(index);
    if (tool.hwnd == m_pendingHwnd && tool.uId == m_pendingId) {
        return;  // still over the same tool: neither a second wait nor a second tip
    }
    m_pendingHwnd = tool.hwnd;
    m_pendingId = tool.uId;
    if (tool.uFlags & Tt::TTF_TRACK) {
        return;
    }
    m_initialTimer.start(delay(isTipShown() ? Tt::TTDT_RESHOW : Tt::TTDT_INITIAL));
}

void ToolTipControl::showPending() {
    ToolInfo key;
    key.hwnd = m_pendingHwnd;
    key.uId = m_pendingId;
    const int i = findTool(&key);
    if (i < 0 || !m_active) {
        return;
    }
    QWidget* w = toolWidget(m_tools.at(i));
    if (!w || w != m_hoverWidget || !w->isVisible()) {
        return;
    }
    if (!(m_style & Tt::TTS_ALWAYSTIP) && w->window() != QApplication::activeWindow()) {
        return;
    }
    showTip(i, m_pointer + QPoint(0, kPointerHeight), false);
}

void ToolTipControl::showTip(int index, const QPoint& anchor, bool tracking) {
    const ToolInfo& tool = m_tools.at(index);
    if (tool.text.isEmpty()) {
        return;
    }
    if (!m_bubble) {
        m_bubble = new ToolTipBalloon;
    }
    Qt::WindowFlags flags;
    if (m_topmost) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    if (tool.uFlags & Tt::TTF_TRANSPARENT) {
        flags |= Qt::WindowTransparentForInput;
    }
    m_bubble->showAt(look(), tool.text, anchor, flags);
    m_anchor = anchor;
    m_shownHwnd = tool.hwnd;
    m_shownId = tool.uId;
    m_tracking = tracking;
    m_popTimer.stop();
    if (!tracking && delay(Tt::TTDT_AUTOPOP) > 0) {
        m_popTimer.start(delay(Tt::TTDT_AUTOPOP));
    }
}

void ToolTipControl::pop() {
    m_popTimer.stop();
    if (m_bubble) {
        m_bubble->hide();
    }
    m_shownHwnd = m_shownId = 0;
    m_tracking = false;
}

bool ToolTipControl::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove: {
            const auto* e = dynamic_cast<const QSinglePointEvent*>(event);
            m_hoverWidget = w;
            m_pointer = e ? e->globalPosition().toPoint() : QCursor::pos();
            schedule(toolAt(w, w->mapFromGlobal(m_pointer)));
            break;
        }
        case QEvent::Leave:
            if (m_hoverWidget == w) {
                m_hoverWidget = nullptr;
                schedule(-1);
                if (!m_tracking) {
                    pop();
                }
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::Hide:
            m_initialTimer.stop();
            if (!m_tracking) {
                pop();
            }
            break;
        default:
            break;
    }
    return false;
}
