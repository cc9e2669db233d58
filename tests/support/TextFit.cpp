#include "TextFit.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

namespace {

// The widgets' own style options and size hints, which Qt keeps protected.
struct PushAccess : QPushButton {
    static auto init() { return &PushAccess::initStyleOption; }
};
struct GroupAccess : QGroupBox {
    static auto init() { return &GroupAccess::initStyleOption; }
};
struct LineAccess : QLineEdit {
    static auto init() { return &LineAccess::initStyleOption; }
};
struct TabAccess : QTabBar {
    static auto hint() { return &TabAccess::tabSizeHint; }
};
struct HeaderAccess : QHeaderView {
    static auto hint() { return &HeaderAccess::sectionSizeFromContents; }
};
struct ViewAccess : QAbstractItemView {
    static auto init() { return &ViewAccess::initViewItemOption; }
};

QString nameOf(const QWidget* w, const QWidget* window) {
    if (!w->objectName().isEmpty()) {
        return window->objectName() + u'/' + w->objectName();
    }
    QString name = QString::fromLatin1(w->metaObject()->className());
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (!p->objectName().isEmpty()) {
            return window->objectName() + u'/' + p->objectName() + u'/' + name;
        }
    }
    return window->objectName() + u'/' + name;
}

// The part of w that its parents leave visible, in w's coordinates. Content of a scroll area
// scrolls, so the area's viewport ends the walk.
QRect visibleRect(const QWidget* w, const QWidget* window) {
    QRect r = w->rect();
    QPoint offset;
    const QWidget* child = w;
    for (const QWidget* p = w->parentWidget(); p && child != window; child = p, p = p->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(p);
        if (area && area->viewport() == child) {
            break;
        }
        offset += child->pos();
        r &= p->rect().translated(-offset);
    }
    return r;
}

struct Report {
    QStringList lines;
    const QWidget* window;
    void check(const QWidget* w, const QString& what, const QString& text, QSize need, QSize room) {
        QStringList gaps;
        if (need.width() > room.width()) {
            gaps << QStringLiteral("needs %1 px wide, has %2").arg(need.width()).arg(room.width());
        }
        if (need.height() > room.height()) {
            gaps << QStringLiteral("needs %1 px high, has %2").arg(need.height()).arg(room.height());
        }
        if (!gaps.isEmpty()) {
            lines << QStringLiteral("%1 %2 \"%3\": %4").arg(nameOf(w, window), what, text, gaps.join(u','));
        }
    }
};

int frameWidth(const QWidget* w) {
    return w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
}

void checkLabel(Report& rep, const QLabel* label, QSize room) {
    if (label->text().isEmpty() || label->toolTip() == label->text()) {
        return;  // nothing, or a cut text that shows itself whole as its tip
    }
    QSize need = label->sizeHint();
    if (label->wordWrap()) {
        // The longest word, and the lines the label's own width makes.
        need = QSize(label->minimumSizeHint().width(), label->heightForWidth(label->width()));
    }
    rep.check(label, QStringLiteral("label"), label->text(), need, room);
}

void checkPushButton(Report& rep, QPushButton* b, QSize room) {
    if (b->text().isEmpty()) {
        return;
    }
    QStyleOptionButton opt;
    (b->*PushAccess::init())(&opt);
    const QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    QSize content = text;
    if (!b->icon().isNull()) {
        content.rwidth() += b->iconSize().width() + 4;
        content.setHeight(qMax(content.height(), b->iconSize().height()));
    }
    // The style's margins around the content, without its minimum width for a captioned button.
    opt.text.clear();
    opt.icon = QIcon();
    const int margin = b->style()->sizeFromContents(QStyle::CT_PushButton, &opt, QSize(0, 0), b).width();
    const QSize need(content.width() + margin, text.height() + 2 * frameWidth(b));
    rep.check(b, QStringLiteral("button"), b->text(), need, room);
}

void checkIndicatorButton(Report& rep, const QAbstractButton* b, const QString& what, QSize room) {
    if (b->text().isEmpty()) {
        return;
    }
    const QSize need(b->sizeHint().width(), b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).height());
    rep.check(b, what, b->text(), need, room);
}

void checkToolButton(Report& rep, const QToolButton* b, QSize room) {
    if (b->text().isEmpty() || b->toolButtonStyle() == Qt::ToolButtonIconOnly) {
        return;
    }
    rep.check(b, QStringLiteral("tool button"), b->text(), QSize(b->sizeHint().width(), 0), room);
}

void checkGroupBox(Report& rep, QGroupBox* box, const QRect& visible) {
    if (box->title().isEmpty()) {
        return;
    }
    QStyleOptionGroupBox opt;
    (box->*GroupAccess::init())(&opt);
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const int textWidth = box->fontMetrics().size(Qt::TextShowMnemonic, box->title()).width();
    // The title starts where the style puts it and must end inside the visible frame.
    const int need = label.left() + textWidth + (box->isFlat() ? 0 : frameWidth(box));
    rep.check(box, QStringLiteral("group title"), box->title(), QSize(need, 0),
              QSize(visible.right() + 1, 1));
}

void checkLineEdit(Report& rep, QLineEdit* edit, QSize room) {
    if (edit->text().isEmpty() || edit->echoMode() != QLineEdit::Normal) {
        return;
    }
    QStyleOptionFrame opt;
    (edit->*LineAccess::init())(&opt);
    QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit);
    contents = contents.marginsRemoved(edit->textMargins());
    constexpr int kInnerMargin = 2;  // the line edit's own margin on each side of its text
    const int have = qMin(contents.width(), room.width()) - 2 * kInnerMargin;
    const int need = edit->fontMetrics().horizontalAdvance(edit->text());
    rep.check(edit, QStringLiteral("line edit"), edit->text(), QSize(need, 0), QSize(have, 1));
}

void checkTabBar(Report& rep, QTabBar* bar, const QRect& visible) {
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i) || bar->tabText(i).isEmpty()) {
            continue;
        }
        const QRect tab = bar->tabRect(i);
        const QSize want = (bar->*TabAccess::hint())(i);
        const int have = qMin(tab.right(), visible.right()) - qMax(tab.left(), visible.left()) + 1;
        rep.check(bar, QStringLiteral("tab %1").arg(i + 1), bar->tabText(i), QSize(want.width(), 0),
                  QSize(have, 1));
    }
}

void checkHeader(Report& rep, QHeaderView* header, const QAbstractItemView* view) {
    if (header->isHidden() || !header->model()) {
        return;
    }
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i) || header->sectionSize(i) <= 0) {
            continue;
        }
        const QString text = header->model()->headerData(i, header->orientation()).toString();
        if (text.isEmpty()) {
            continue;
        }
        const QSize want = (header->*HeaderAccess::hint())(i);
        rep.check(view, QStringLiteral("column header %1").arg(i + 1), text, QSize(want.width(), 0),
                  QSize(header->sectionSize(i), 1));
    }
}

void checkCell(Report& rep, QAbstractItemView* view, const QModelIndex& index) {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) {
        return;
    }
    QStyleOptionViewItem opt;
    (view->*ViewAccess::init())(&opt);
    const QSize want = view->itemDelegateForIndex(index)->sizeHint(opt, index);
    const QRect cell = view->visualRect(index);
    rep.check(view, QStringLiteral("cell %1,%2").arg(index.row() + 1).arg(index.column() + 1), text,
              QSize(want.width(), 0), QSize(cell.width(), 1));
}

void checkRows(Report& rep, QAbstractItemView* view, const QModelIndex& parent) {
    const QAbstractItemModel* model = view->model();
    auto* tree = qobject_cast<QTreeView*>(view);
    auto* table = qobject_cast<QTableView*>(view);
    auto* list = qobject_cast<QListView*>(view);
    for (int row = 0; row < model->rowCount(parent); ++row) {
        if ((tree && tree->isRowHidden(row, parent)) || (table && table->isRowHidden(row)) ||
            (list && list->isRowHidden(row))) {
            continue;
        }
        for (int column = 0; column < model->columnCount(parent); ++column) {
            if (list && column != list->modelColumn()) {
                continue;
            }
            if ((tree && (tree->isColumnHidden(column) || tree->columnWidth(column) <= 0)) ||
                (table && (table->isColumnHidden(column) || table->columnWidth(column) <= 0))) {
                continue;
            }
            checkCell(rep, view, model->index(row, column, parent));
        }
        const QModelIndex child = model->index(row, 0, parent);
        if (tree && model->hasChildren(child) && tree->isExpanded(child)) {
            checkRows(rep, view, child);
        }
    }
}

void checkItemView(Report& rep, QAbstractItemView* view) {
    if (!view->model()) {
        return;
    }
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        checkHeader(rep, tree->header(), view);
    } else if (auto* table = qobject_cast<QTableView*>(view)) {
        checkHeader(rep, table->horizontalHeader(), view);
    }
    checkRows(rep, view, view->rootIndex());
}

}  // namespace

namespace TextFit {

QStringList misfits(QWidget* window) {
    Report rep{{}, window};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : std::as_const(widgets)) {
        if (w != window && (!w->isVisibleTo(window) || w->isWindow())) {
            continue;
        }
        const QRect visible = visibleRect(w, window);
        if (!visible.isValid()) {
            continue;  // wholly out of sight (beyond the window's edge on purpose): nothing is cut
        }
        const QSize room = visible.size();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            checkLabel(rep, label, room);
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            checkPushButton(rep, push, room);
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            checkIndicatorButton(rep, check, QStringLiteral("check box"), room);
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            checkIndicatorButton(rep, radio, QStringLiteral("option"), room);
        } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
            checkToolButton(rep, tool, room);
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            checkGroupBox(rep, box, visible);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            checkLineEdit(rep, edit, room);
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            checkTabBar(rep, bar, visible);
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && !qobject_cast<QHeaderView*>(w)) {
            checkItemView(rep, view);
        }
    }
    return rep.lines;
}

}  // namespace TextFit
