#pragma once

#include <QTabBar>

// A tab bar addressed like the platform's tab strip: tabs are numbered from 1.
class TabStrip : public QTabBar {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);
    int addTab1(const QString& caption, const QString& key = {});  // returns the 1-based index
    int tabCount() const { return count(); }
    int selectedIndex() const;  // 1-based, 0 when none
    void setSelectedIndex(int index);
    QString tabKey(int index) const;           // 1-based
    int indexOfKey(const QString& key) const;  // 1-based, 0 when no tab has the key

signals:
    // The selected tab changed, by the user or by setSelectedIndex (not when the first tab
    // added becomes the selected one).
    void TabClick(int index);  // 1-based

private:
    bool m_adding = false;
};
