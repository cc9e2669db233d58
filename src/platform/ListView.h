#pragma once

#include <QCollator>
#include <QColor>
#include <QIcon>
#include <QString>
#include <QTreeWidget>
#include <QVariant>

class ListView;

// One row of a ListView: text, sub-items (1-based), tag, tooltip, bold, colour, check box.
class ListItem : public QTreeWidgetItem {
public:
    QString text() const { return QTreeWidgetItem::text(0); }
    void setText(const QString& text) { QTreeWidgetItem::setText(0, text); }
    QString subItem(int index) const;  // 1-based
    void setSubItem(int index, const QString& text);
    QString tag() const;
    void setTag(const QString& tag);
    QString toolTipText() const;
    void setToolTipText(const QString& tip);
    bool bold() const;
    void setBold(bool bold);                    // the row's text
    void setSubItemBold(int index, bool bold);  // one sub-item
    bool subItemBold(int index) const;
    QColor foreColor() const;
    void setForeColor(const QColor& color);  // the row's text
    void setSubItemForeColor(int index, const QColor& color);
    QColor subItemForeColor(int index) const;
    bool checked() const;
    void setChecked(bool checked);
    bool selected() const { return isSelected(); }
    void setSelected(bool on);  // in a single-select list the other rows lose the selection
    int index() const;          // 1-based position in the list as shown
    ListView* listView() const;

    // Sorted by the text of the list's sort column, without regard to case.
    bool operator<(const QTreeWidgetItem& other) const override;

    // The tip shows over every column of the row; a change of the sort column's text puts
    // the row back in its sorted place.
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

private:
    friend class ListView;
    QString m_tag;
    QString m_tip;
    bool m_checked = false;
};

// A report-view list like the platform's list view: columns sized in twips, rows with check
// boxes, a sort column and order compared by text, header icons, single or multi-select.
class ListView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Columns.
    int addColumn(const QString& caption, int widthTwips);
    void setColumnWidthTwips(int column, int twips);  // 0-based column
    int columnWidthTwips(int column) const;
    void clearColumns();                                      // removes every column (the rows stay)
    void setColumnHeaderIcon(int column, const QIcon& icon);  // null icon clears
    QIcon columnHeaderIcon(int column) const;
    void clearColumnHeaderIcons();
    // The width in pixels that a column's header (with room for a header picture when
    // headerPicture is set) and its cells need to show their texts whole.
    int columnContentWidth(int column, bool headerPicture = false) const;
    // Widens each shown column (width above 0) whose texts need more room than it has, up to
    // maxPixels (0: no limit; a longer text then scrolls into view); returns the width all
    // columns take now, in pixels.
    int growColumnsToContents(int maxPixels = 0, bool headerPicture = false);

    // Rows.
    ListItem* addItem(const QString& text);
    int count() const;
    ListItem* item(int index) const;  // 1-based, as shown
    ListItem* selectedItem() const;   // the current row, or nullptr
    void setSelectedItem(ListItem* item);
    QList<ListItem*> selectedListItems() const;
    void clearItems();
    ListItem* findItemByTag(const QString& tag) const;  // the first row with the tag, or nullptr

    // Options.
    void setCheckboxes(bool on);
    bool checkboxes() const { return m_checkboxes; }
    void setMultiSelect(bool on);
    bool multiSelect() const;
    void setSorted(bool on);
    bool sorted() const { return m_sorted; }
    void setSortKey(int column);  // 0-based
    int sortKey() const { return m_sortKey; }
    void setSortOrder(Qt::SortOrder order);
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void sort();  // applies the sort key and order now (when sorted)
    // A column of names: sorted as the user's language sorts (the collation of the locale,
    // without regard to case), not by character codes. Numbers and dates keep the plain order.
    void setLanguageSorted(int column, bool on = true);
    bool languageSorted(int column) const { return m_languageColumns.contains(column); }

signals:
    void ItemClick(ListItem* item);  // a row was clicked
    void ItemCheck(ListItem* item);  // the user ticked or unticked a row (not setChecked)
    void ColumnClick(int column);    // a column header was clicked (0-based)
    void DblClick(ListItem* item);   // a double-click; item is nullptr off the rows
    // A key went down; sent after the list has handled it, so the selection has moved already.
    void KeyDown(int keyCode, int shift);  // KeyCodes values; shift 1 Shift, 2 Ctrl, 4 Alt

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ListItem;
    void onItemChanged(QTreeWidgetItem* item, int column);
    void markUnsorted();
    void ensureSorted() const;

    QList<int> m_columnTwips;
    QList<int> m_languageColumns;
    QCollator m_collator;
    bool m_unsorted = false;
    bool m_sortQueued = false;
    bool m_checkboxes = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
