#include "TabWalk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSet>
#include <QWidget>

namespace TabWalk {

namespace {

bool reachable(const QWidget* w, const QWidget* window) {
    return w != window && w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
           !w->focusProxy() && w->window() == window;
}

QString nameOf(const QWidget* w) {
    if (!w->objectName().isEmpty()) {
        return w->objectName();
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty()) {
        return QStringLiteral("\"%1\"").arg(b->text());
    }
    return QString::fromLatin1(w->metaObject()->className());
}

QRect globalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// b comes before a as the eye reads: it lies wholly above a, or on a's line and left of it.
bool readBefore(const QRect& b, const QRect& a) {
    if (b.bottom() < a.top() + qMin(a.height(), b.height()) / 2 && b.bottom() < a.center().y()) {
        return true;
    }
    const bool sameLine = b.top() < a.bottom() && a.top() < b.bottom();
    return sameLine && b.right() < a.left();
}

}  // namespace

QList<QWidget*> walk(QWidget* window) {
    QList<QWidget*> out;
    QWidget* first = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (reachable(w, window)) {
            first = w;
            break;
        }
    }
    QSet<QWidget*> seen;
    for (QWidget* w = first; w && !seen.contains(w); w = w->nextInFocusChain()) {
        seen.insert(w);
        if (reachable(w, window)) {
            out.append(w);
        }
    }
    return out;
}

QStringList outOfOrder(QWidget* window) {
    QStringList lines;
    const QList<QWidget*> steps = walk(window);
    QSet<QWidget*> leftGroups;
    for (int i = 1; i < steps.size(); ++i) {
        QWidget* a = steps[i - 1];
        QWidget* b = steps[i];
        const QString step = QStringLiteral("%1: %2 -> %3").arg(nameOf(window), nameOf(a), nameOf(b));
        if (a->parentWidget() != b->parentWidget()) {
            if (a->parentWidget() != window) {
                leftGroups.insert(a->parentWidget());  // the window's own controls may come in columns
            }
            if (leftGroups.contains(b->parentWidget())) {
                lines << step + QStringLiteral(": back into a group left before");
            }
            continue;
        }
        if (readBefore(globalRect(b), globalRect(a))) {
            lines << step + QStringLiteral(": %1 comes first as the eye reads").arg(nameOf(b));
        }
    }
    if (!lines.isEmpty()) {  // the whole walk, to see what the order should be
        QStringList all;
        for (QWidget* w : steps) {
            const QRect r = globalRect(w);
            all << QStringLiteral("%1 (%2,%3 in %4)")
                       .arg(nameOf(w))
                       .arg(r.x())
                       .arg(r.y())
                       .arg(nameOf(w->parentWidget()));
        }
        lines << QStringLiteral("walk: ") + all.join(QStringLiteral(" -> "));
    }
    return lines;
}

}  // namespace TabWalk
