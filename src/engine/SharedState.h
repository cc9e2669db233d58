#pragma once

#include <QString>

// What the engine reads from [Settings] (getSettings) and every window may read.
struct SharedState {
    // Message folders, without a trailing "/".
    QString inDir;
    QString outDir;
    QString sentDir;
    QString arcDir;

    // Characters one message may hold, the footer already deducted.
    int maxTextLen = 160;
    // Appended to every outgoing text.
    QString footer;

    bool logSMSFlag = false;   // [Settings] LogSMS
    bool debugMode = false;    // [Settings] Debug
    QString smtpServer;        // [Settings] SMTPServer

    bool keepSent = true;      // copy sent messages to the sent folder
    bool sendActive = false;   // the send cycle runs on the polling tick
    bool receiveActive = false;
    int outTiming = 0;         // seconds between send cycles
    int inTiming = 0;          // seconds between receive cycles
    int timerInterval = 5000;  // polling timer, ms ([Settings] Timer)
    int timeoutSeconds = 10;   // [Settings] Timeout

    // Counters shown by the main window.
    int sentCount = 0;
    int receivedCount = 0;
    int processedCount = 0;
};
