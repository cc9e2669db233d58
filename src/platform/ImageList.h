#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// Icons looked up by key, like the main window's image list ("Asc", "Desc").
class ImageList {
public:
    void add(const QString& key, const QIcon& icon) { m_icons.insert(key, icon); }
    bool contains(const QString& key) const { return m_icons.contains(key); }
    QIcon icon(const QString& key) const { return m_icons.value(key); }

private:
    QHash<QString, QIcon> m_icons;
};
