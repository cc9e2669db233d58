#pragma once

#include <QHash>
#include <QString>

// The number of message files ("*.sms") in each message folder, for the main window's
// counters. A folder is listed again only when its modification time or identity changed since
// it was counted, so the thousands of messages a busy gateway keeps cost nothing per tick.
class FolderCounter {
public:
    // The folder's message files; 0 for "" or a missing folder.
    int count(const QString& folder);

private:
    struct Counted {
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        quint64 device = 0;
        int files = 0;
        // Counted within the time-stamp grain of its last change: a change in the same grain
        // would leave the time unchanged, so it is counted again next time.
        bool racy = true;
    };
    QHash<QString, Counted> m_counted;
};
