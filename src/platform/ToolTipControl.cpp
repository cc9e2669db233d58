#include "ToolTipControl.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace {

const char kHandleProperty[] = "tellwickWindowHandle";

// Shape of a tip: padding inside the border, the balloon's stem and corners, the title.
constexpr int kPlainPad = 3;
constexpr int kBalloonPad = 8;
constexpr int kStemHeight = 12;
constexpr int kStemWidth = 14;
constexpr int kRadius = 7;
constexpr int kIconSize = 16;
constexpr int kTitleGap = 4;
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
    const QPalette pal = QGuiApplication::palette();
    auto role = [&](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
        return toColorRef(pal.color(g, r));
    };
    switch (index) {
        case 0:
            return role(QPalette::Button);  // scroll bar
        case 1:
            return role(QPalette::Dark);  // desktop
        case 2:
            return role(QPalette::Highlight);  // active caption
        case 3:
            return role(QPalette::Mid);  // inactive caption
        case 4:
            return role(QPalette::Window);  // menu
        case 5:
            return role(QPalette::Base);  // window background
        case 6:
            return role(QPalette::Shadow);  // window frame
        case 7:
            return role(QPalette::WindowText);  // menu text
        case 8:
            return role(QPalette::Text);  // window text
        case 9:
            return role(QPalette::HighlightedText);  // caption text
        case 10:
            return role(QPalette::Button);  // active border
        case 11:
            return role(QPalette::Button);  // inactive border
        case 12:
            return role(QPalette::Mid);  // application workspace
        case 13:
            return role(QPalette::Highlight);  // selection
        case 14:
            return role(QPalette::HighlightedText);  // selected text
        case 15:
            return role(QPalette::Button);  // button face
        case 16:
            return role(QPalette::Dark);  // button shadow
        case 17:
            return role(QPalette::Text, QPalette::Disabled);  // grey text
        case 18:
            return role(QPalette::ButtonText);  // button text
        case 19:
            return role(QPalette::WindowText, QPalette::Disabled);  // inactive caption text
        case 20:
            return role(QPalette::Light);  // button highlight
        case 21:
            return role(QPalette::Shadow);  // dark 3-D shadow
        case 22:
            return role(QPalette::Midlight);  // 3-D light
        case 23:
            return role(QPalette::ToolTipText);  // info text
        case 24:
            return role(QPalette::ToolTipBase);  // info background
        case 26:
            return role(QPalette::Link);  // hot-tracked item
        case 27:
            return role(QPalette::Highlight);  // active caption gradient
        case 28:
            return role(QPalette::Mid);  // inactive caption gradient
        case 29:
            return role(QPalette::Highlight);  // menu highlight
        case 30:
            return role(QPalette::Window);  // menu bar
        default:
            return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// The tip window.

struct BubbleLayout {
    QSize size;
    QRect body;  // the bubble without its stem
    QRect icon;
    QRect title;
    QRect text;
    int textFlags = 0;
};

class ToolTipBubble : public QWidget {
public:
    ToolTipBubble() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        setObjectName(QStringLiteral("toolTipBubble"));
    }

    BubbleLayout layout;
    bool balloon = false;
    bool stemTop = true;
    int stemX = 0;
    QColor back, fore;
    QString text, title;
    int icon = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, balloon);
        QPainterPath path;
        const QRectF body = QRectF(layout.body).adjusted(0.5, 0.5, -0.5, -0.5);
        if (balloon) {
            path.addRoundedRect(body, kRadius, kRadius);
            const int baseX =
                std::clamp(stemX, kRadius + 1, std::max(kRadius + 1, width() - kRadius - kStemWidth - 1));
            QPolygonF stem;
            if (stemTop) {
                stem << QPointF(stemX, 0.5) << QPointF(baseX, body.top() + 1)
                     << QPointF(baseX + kStemWidth, body.top() + 1);
            } else {
                stem << QPointF(stemX, height() - 0.5) << QPointF(baseX, body.bottom() - 1)
                     << QPointF(baseX + kStemWidth, body.bottom() - 1);
            }
            QPainterPath stemPath;
            stemPath.addPolygon(stem);
            stemPath.closeSubpath();
            path = path.united(stemPath);
        } else {
            path.addRect(body);
        }
        p.setPen(QPen(fore, 1));
        p.setBrush(back);
        p.drawPath(path);

        if (!title.isEmpty()) {
            if (icon >= Tt::TTI_INFO && icon <= Tt::TTI_ERROR) {
                static const QStyle::StandardPixmap kIcons[] = {QStyle::SP_MessageBoxInformation,
                                                                QStyle::SP_MessageBoxWarning,
                                                                QStyle::SP_MessageBoxCritical};
                style()->standardIcon(kIcons[icon - 1]).paint(&p, layout.icon);
            }
            QFont bold = QToolTip::font();
            bold.setBold(true);
            p.setFont(bold);
            p.setPen(fore);
            p.drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter, title);
        }
        p.setFont(QToolTip::font());
        p.setPen(fore);
        p.drawText(layout.text, layout.textFlags, text);
    }
};

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
    return isTipShown() ? m_bubble->text : QString();
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
            m_tools.last().text = ti->text;
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
                const bool byHandle = (tool.uFlags & Tt::TTF_IDISHWND) && tool.uId == hti->hwnd;
                const bool byRect = !(tool.uFlags & Tt::TTF_IDISHWND) && tool.hwnd == hti->hwnd;
                if ((byHandle || byRect) && toolArea(tool).contains(hti->pt)) {
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
            const QSize s = bubbleSize(m_tools.at(i).text);
            return qintptr((quint32(s.height() & 0xFFFF) << 16) | quint32(s.width() & 0xFFFF));
        }
        case Tt::TTM_ADJUSTRECT: {
            auto* rc = reinterpret_cast<TtRect*>(lParam);
            if (!rc) {
                return 0;
            }
            const Insets in = insets();
            const int sign = wParam ? 1 : -1;
            rc->left -= sign * in.left;
            rc->top -= sign * in.top;
            rc->right += sign * in.right;
            rc->bottom += sign * in.bottom;
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
    return ToolTipWindows::widgetOf((tool.uFlags & Tt::TTF_IDISHWND) ? tool.uId : tool.hwnd);
}

QRect ToolTipControl::toolArea(const ToolInfo& tool) const {
    if (tool.uFlags & Tt::TTF_IDISHWND) {
        const QWidget* w = toolWidget(tool);
        return w ? w->rect() : QRect();
    }
    return QRect(QPoint(tool.rect.left, tool.rect.top), QPoint(tool.rect.right - 1, tool.rect.bottom - 1));
}

int ToolTipControl::toolAt(QWidget* w, const QPoint& local) const {
    for (int i = 0; i < m_tools.size(); ++i) {
        const ToolInfo& tool = m_tools.at(i);
        if ((tool.uFlags & Tt::TTF_SUBCLASS) && toolWidget(tool) == w && toolArea(tool).contains(local)) {
            return i;
        }
    }
    return -1;
}

void ToolTipControl::watch(const ToolInfo& tool) {
    QWidget* w = toolWidget(tool);
    if (!w || !(tool.uFlags & Tt::TTF_SUBCLASS)) {
        return;
    }
    w->installEventFilter(this);
    if (!(tool.uFlags & Tt::TTF_IDISHWND)) {
        w->setAttribute(Qt::WA_Hover);  // the pointer's moves inside the window pick the tool
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

ToolTipControl::Insets ToolTipControl::insets() const {
    const int pad = balloon() ? kBalloonPad : kPlainPad;
    return {pad + m_margin.left, pad + m_margin.top + (balloon() ? kStemHeight : 0), pad + m_margin.right,
            pad + m_margin.bottom};
}

QSize ToolTipControl::bubbleSize(const QString& text) const {
    const QFontMetrics fm(QToolTip::font());
    const int flags = Qt::AlignLeft | Qt::AlignTop | (m_maxWidth > 0 ? Qt::TextWordWrap : 0);
    const int limit = m_maxWidth > 0 ? m_maxWidth : 0x7FFF;
    QSize content =
        text.isEmpty() ? QSize() : fm.boundingRect(QRect(0, 0, limit, 0x7FFF), flags, text).size();
    if (!m_title.isEmpty()) {
        QFont bold = QToolTip::font();
        bold.setBold(true);
        const QFontMetrics bfm(bold);
        const bool icon = m_titleIcon >= Tt::TTI_INFO && m_titleIcon <= Tt::TTI_ERROR;
        const int titleWidth = (icon ? kIconSize + kTitleGap : 0) + bfm.horizontalAdvance(m_title);
        const int titleHeight = std::max(icon ? kIconSize : 0, bfm.height());
        content = QSize(std::max(content.width(), titleWidth), titleHeight + kTitleGap + content.height());
    }
    const Insets in = insets();
    return QSize(content.width() + in.left + in.right, content.height() + in.top + in.bottom);
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
        m_bubble = new ToolTipBubble;
    }
    ToolTipBubble& b = *m_bubble;
    Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint;
    if (m_topmost) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    if (tool.uFlags & Tt::TTF_TRANSPARENT) {
        flags |= Qt::WindowTransparentForInput;
    }
    if (b.windowFlags() != flags) {
        b.setWindowFlags(flags);
    }

    const QSize size = bubbleSize(tool.text);
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen ? screen->geometry() : QRect(anchor, size);

    // Below the anchor with the stem up, or above it when there is no room below.
    b.balloon = balloon();
    b.stemTop = anchor.y() + size.height() <= area.bottom() + 1;
    const int stemOffset = std::min(kRadius + kStemWidth, size.width() / 2);
    int x = b.balloon ? anchor.x() - stemOffset : anchor.x();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = b.stemTop ? anchor.y() : anchor.y() - size.height();
    b.stemX = std::clamp(anchor.x() - x, kRadius, std::max(kRadius, size.width() - kRadius));

    Insets in = insets();
    const int stem = b.balloon ? kStemHeight : 0;
    if (!b.stemTop) {
        in.top -= stem;
        in.bottom += stem;
    }
    BubbleLayout& l = b.layout;
    l.size = size;
    l.body = QRect(0, b.stemTop ? stem : 0, size.width(), size.height() - stem);
    QRect content(in.left, in.top, size.width() - in.left - in.right, size.height() - in.top - in.bottom);
    l.icon = l.title = QRect();
    if (!m_title.isEmpty()) {
        QFont bold = QToolTip::font();
        bold.setBold(true);
        const bool icon = m_titleIcon >= Tt::TTI_INFO && m_titleIcon <= Tt::TTI_ERROR;
        const int titleHeight = std::max(icon ? kIconSize : 0, QFontMetrics(bold).height());
        int titleLeft = content.left();
        if (icon) {
            l.icon = QRect(titleLeft, content.top() + (titleHeight - kIconSize) / 2, kIconSize, kIconSize);
            titleLeft += kIconSize + kTitleGap;
        }
        l.title = QRect(titleLeft, content.top(), content.right() + 1 - titleLeft, titleHeight);
        content.setTop(content.top() + titleHeight + kTitleGap);
    }
    l.text = content;
    l.textFlags = Qt::AlignLeft | Qt::AlignTop | (m_maxWidth > 0 ? Qt::TextWordWrap : 0);
    b.back = fromColorRef(m_backColor);
    b.fore = fromColorRef(m_textColor);
    b.text = tool.text;
    b.title = m_title;
    b.icon = m_titleIcon;

    b.setGeometry(QRect(QPoint(x, y), size));
    b.show();
    b.raise();
    b.update();
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
        case QEvent::MouseMove:
        case QEvent::HoverMove: {
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
