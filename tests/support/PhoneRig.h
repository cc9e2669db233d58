#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "IniStore.h"
#include "LogWriter.h"
#include "PhoneLink.h"
#include "PhoneSimulator.h"

// A phone link on a fresh program folder and a simulated phone for it to open. The
// simulator's pty is not opened yet: call sim.start() and check it. Members go in reverse
// order, so the link closes before the phone disappears.
struct PhoneRig {
    QTemporaryDir dir;
    LogWriter log{dir.path()};
    IniStore ini{dir.filePath(QStringLiteral("tellwick.ini")), &log};
    PhoneSimulator sim;
    PhoneLink link{ini, log};

    // The transaction log as written so far.
    QString logText() const {
        QFile f(log.transactionLogPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};
