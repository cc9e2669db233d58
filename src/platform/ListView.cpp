#include "ListView.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>

#include "KeyCodes.h"
#include "Twips.h"

// ---- ListItem -------------------------------------------------------------------------------

QString ListItem::subItem(int index) const {
    return index >= 1 ? QTreeWidgetItem::text(index) : QString();
}

void ListItem::setSubItem(int index, const QString& text) {
    if (index >= 1) {
        QTreeWidgetItem::setText(index, text);
    }
}

QString ListItem::tag() const {
    return m_tag;
}
void ListItem::setTag(const QString& tag) {
    m_tag = tag;
}

QString ListItem::toolTipText() const {
    return m_tip;
}
void ListItem::setToolTipText(const QString& tip) {
    m_tip = tip;
}

bool ListItem::bold() const {
    return font(0).bold();
}
void ListItem::setBold(bool bold) {
    setSubItemBold(0, bold);
}

void ListItem::setSubItemBold(int index, bool bold) {
    if (index < 0) {
        return;
    }
    QFont f = font(index);
    f.setBold(bold);
    setFont(index, f);
}

bool ListItem::subItemBold(int index) const {
    return index >= 0 && font(index).bold();
}

QColor ListItem::foreColor() const {
    return subItemForeColor(0);
}
void ListItem::setForeColor(const QColor& color) {
    setSubItemForeColor(0, color);
}

void ListItem::setSubItemForeColor(int index, const QColor& color) {
    if (index >= 0) {
        setForeground(index, QBrush(color));
    }
}

QColor ListItem::subItemForeColor(int index) const {
    const QBrush brush = foreground(index);
    if (brush.style() != Qt::NoBrush) {
        return brush.color();
    }
    // Never set: the list's own text colour.
    const QTreeWidget* list = treeWidget();
    return list ? list->palette().color(QPalette::Text) : QColor(Qt::black);
}

bool ListItem::checked() const {
    return m_checked;
}

void ListItem::setChecked(bool checked) {
    // Remembered first, so the change below is not taken for the user's.
    m_checked = checked;
    const ListView* list = listView();
    if (!list || list->checkboxes()) {
        setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

void ListItem::setSelected(bool on) {
    ListView* list = listView();
    if (on && list && !list->multiSelect()) {
        list->setSelectedItem(this);
        return;
    }
    QTreeWidgetItem::setSelected(on);
}

int ListItem::index() const {
    const ListView* list = listView();
    if (!list) {
        return 0;
    }
    list->ensureSorted();
    return list->indexOfTopLevelItem(const_cast<ListItem*>(this)) + 1;
}

ListView* ListItem::listView() const {
    return qobject_cast<ListView*>(treeWidget());
}

bool ListItem::operator<(const QTreeWidgetItem& other) const {
    const ListView* list = listView();
    const int column = list ? list->sortKey() : 0;
    if (list && list->languageSorted(column)) {
        return list->m_collator.compare(QTreeWidgetItem::text(column), other.text(column)) < 0;
    }
    return QTreeWidgetItem::text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
}

QVariant ListItem::data(int column, int role) const {
    if (role == Qt::ToolTipRole && !m_tip.isEmpty()) {
        // A tip that looks like markup would be drawn as markup: it is shown as written.
        return Qt::mightBeRichText(m_tip) ? QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
                                                .arg(m_tip.toHtmlEscaped())
                                          : m_tip;
    }
    return QTreeWidgetItem::data(column, role);
}

void ListItem::setData(int column, int role, const QVariant& value) {
    QTreeWidgetItem::setData(column, role, value);
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (ListView* list = listView(); list && column == list->sortKey()) {
            list->markUnsorted();
        }
    }
}

// ---- ListView -------------------------------------------------------------------------------

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);  // the owner decides what a header click does
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);  // only the icons it is given
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);  // a column of width 0 hides it
    header()->setSectionsMovable(false);

    connect(header(), &QHeaderView::sectionClicked, this, &ListView::ColumnClick);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { emit ItemClick(static_cast<ListItem*>(item)); });
    connect(this, &QTreeWidget::itemChanged, this, &ListView::onItemChanged);
}

int ListView::addColumn(const QString& caption, int widthTwips) {
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, caption);
    headerItem()->setIcon(column, QIcon());
    setColumnWidthTwips(column, widthTwips);
    return column;
}

void ListView::setColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    if (m_columnTwips.size() <= column) {
        m_columnTwips.resize(column + 1, -1);
    }
    m_columnTwips[column] = twips;
    setColumnWidth(column, Twips::toPixels(twips));
}

int ListView::columnWidthTwips(int column) const {
    if (column < 0 || column >= columnCount()) {
        return 0;
    }
    const int pixels = columnWidth(column);
    if (column < m_columnTwips.size() && m_columnTwips[column] >= 0 &&
        Twips::toPixels(m_columnTwips[column]) == pixels) {
        return m_columnTwips[column];
    }
    return Twips::fromPixels(pixels);
}

void ListView::clearColumns() {
    for (int c = 0; c < columnCount(); ++c) {
        headerItem()->setIcon(c, QIcon());
        headerItem()->setText(c, QString());
    }
    setColumnCount(0);
    m_columnTwips.clear();
}

void ListView::setColumnHeaderIcon(int column, const QIcon& icon) {
    if (column >= 0 && column < columnCount()) {
        headerItem()->setIcon(column, icon);
    }
}

QIcon ListView::columnHeaderIcon(int column) const {
    return column >= 0 && column < columnCount() ? headerItem()->icon(column) : QIcon();
}

void ListView::clearColumnHeaderIcons() {
    for (int c = 0; c < columnCount(); ++c) {
        headerItem()->setIcon(c, QIcon());
    }
}

int ListView::columnContentWidth(int column, bool headerPicture) const {
    if (column < 0 || column >= columnCount()) {
        return 0;
    }
    ensureSorted();
    int headerWidth = header()->sectionSizeHint(column);
    if (headerPicture) {
        const QStyle* style = header()->style();
        headerWidth += style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, header()) +
                       style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header());
    }
    return qMax(sizeHintForColumn(column), headerWidth);
}

int ListView::growColumnsToContents(int maxPixels, bool headerPicture) {
    int total = 0;
    for (int c = 0; c < columnCount(); ++c) {
        if (columnWidth(c) > 0) {
            int need = columnContentWidth(c, headerPicture);
            if (maxPixels > 0) {
                need = qMin(need, maxPixels);
            }
            if (need > columnWidth(c)) {
                setColumnWidthTwips(c, Twips::fromPixels(need));
            }
        }
        total += columnWidth(c);
    }
    return total;
}

ListItem* ListView::addItem(const QString& text) {
    auto* item = new ListItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                   (m_checkboxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    if (m_checkboxes) {
        item->setCheckState(0, Qt::Unchecked);
    }
    item->setText(text);
    addTopLevelItem(item);
    markUnsorted();
    return item;
}

int ListView::count() const {
    return topLevelItemCount();
}

ListItem* ListView::item(int index) const {
    if (index < 1 || index > count()) {
        return nullptr;
    }
    ensureSorted();
    return static_cast<ListItem*>(topLevelItem(index - 1));
}

ListItem* ListView::selectedItem() const {
    auto* current = static_cast<ListItem*>(currentItem());
    if (current && current->isSelected()) {
        return current;
    }
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<ListItem*>(selected.first());
}

void ListView::setSelectedItem(ListItem* item) {
    if (!item) {
        clearSelection();
        setCurrentItem(nullptr, 0, QItemSelectionModel::Clear);
        return;
    }
    setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QList<ListItem*> ListView::selectedListItems() const {
    ensureSorted();
    QList<ListItem*> out;
    for (int i = 0; i < count(); ++i) {
        auto* it = static_cast<ListItem*>(topLevelItem(i));
        if (it->isSelected()) {
            out.append(it);
        }
    }
    return out;
}

void ListView::clearItems() {
    clear();
    m_unsorted = false;
}

ListItem* ListView::findItemByTag(const QString& tag) const {
    ensureSorted();
    for (int i = 0; i < count(); ++i) {
        auto* it = static_cast<ListItem*>(topLevelItem(i));
        if (it->tag() == tag) {
            return it;
        }
    }
    return nullptr;
}

void ListView::setCheckboxes(bool on) {
    m_checkboxes = on;
    for (int i = 0; i < count(); ++i) {
        auto* it = static_cast<ListItem*>(topLevelItem(i));
        // The state goes in before the flag, so the change is never taken for a toggle.
        if (on) {
            it->setCheckState(0, it->m_checked ? Qt::Checked : Qt::Unchecked);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        } else {
            it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
            it->QTreeWidgetItem::setData(0, Qt::CheckStateRole, QVariant());
        }
    }
}

void ListView::setMultiSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool ListView::multiSelect() const {
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

void ListView::setSorted(bool on) {
    m_sorted = on;
    markUnsorted();
}

void ListView::setLanguageSorted(int column, bool on) {
    m_languageColumns.removeAll(column);
    if (on) {
        m_languageColumns.append(column);
        m_collator = QCollator(QLocale());  // the system's unless the program chose another
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    markUnsorted();
}

void ListView::setSortKey(int column) {
    m_sortKey = column;
    markUnsorted();
}

void ListView::setSortOrder(Qt::SortOrder order) {
    m_sortOrder = order;
    markUnsorted();
}

void ListView::sort() {
    m_unsorted = true;
    ensureSorted();
}

void ListView::markUnsorted() {
    if (!m_sorted) {
        return;
    }
    m_unsorted = true;
    // Rows added one by one are sorted once, when the list is next looked at or shown.
    if (!m_sortQueued) {
        m_sortQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_sortQueued = false;
            ensureSorted();
        });
    }
}

void ListView::ensureSorted() const {
    if (!m_sorted || !m_unsorted) {
        return;
    }
    auto* self = const_cast<ListView*>(this);
    self->m_unsorted = false;
    self->sortItems(m_sortKey, m_sortOrder);
}

void ListView::onItemChanged(QTreeWidgetItem* changed, int column) {
    if (column != 0 || !m_checkboxes || !(changed->flags() & Qt::ItemIsUserCheckable)) {
        return;
    }
    auto* item = static_cast<ListItem*>(changed);
    if (item->data(0, Qt::CheckStateRole).isNull()) {
        return;
    }
    const bool now = item->checkState(0) == Qt::Checked;
    if (now != item->m_checked) {
        item->m_checked = now;
        emit ItemCheck(item);
    }
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit DblClick(static_cast<ListItem*>(itemAt(event->position().toPoint())));
    }
}

void ListView::keyPressEvent(QKeyEvent* event) {
    QTreeWidget::keyPressEvent(event);
    emit KeyDown(KeyCodes::fromEvent(event), KeyCodes::shiftState(event->modifiers()));
}
