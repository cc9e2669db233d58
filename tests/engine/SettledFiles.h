#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>

// Message files written a minute earlier than they were: complete for the send cycle, which
// leaves a file alone while it may still be being written. The order of their times stays.
inline void settleFiles(const QString& folder) {
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.sms")}, QDir::Files);
    for (const QFileInfo& fi : files) {
        QFile f(fi.absoluteFilePath());
        if (f.open(QIODevice::ReadWrite)) {
            f.setFileTime(fi.lastModified().addSecs(-60), QFileDevice::FileModificationTime);
        }
    }
}
