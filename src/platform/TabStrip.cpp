#include "TabStrip.h"

#include <QVariant>

TabStrip::TabStrip(QWidget* parent) : QTabBar(parent) {
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_adding && index >= 0) {
            emit TabClick(index + 1);
        }
    });
}

int TabStrip::addTab1(const QString& caption, const QString& key) {
    // The first tab becomes the selected one by itself; that is no click.
    m_adding = true;
    const int index = addTab(caption);
    m_adding = false;
    setTabData(index, key);
    return index + 1;
}

int TabStrip::selectedIndex() const {
    return currentIndex() + 1;
}

void TabStrip::setSelectedIndex(int index) {
    if (index >= 1 && index <= count()) {
        setCurrentIndex(index - 1);
    }
}

QString TabStrip::tabKey(int index) const {
    return index >= 1 && index <= count() ? tabData(index - 1).toString() : QString();
}

int TabStrip::indexOfKey(const QString& key) const {
    for (int i = 0; i < count(); ++i) {
        if (tabData(i).toString() == key) {
            return i + 1;
        }
    }
    return 0;
}
