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
    // Appended to every outgoing text ([Settings] Footer), unless it is so long that a part
    // of a split text would keep fewer than ten characters: footerUsed is then false and
    // maxTextLen is not reduced.
    QString footer;
    bool footerUsed = false;

    // The phone's identity as known when the settings were last read ("" while none).
    QString deviceManufacturer;
    QString deviceModel;

    bool logSMSFlag = false;  // [Settings] LogSMS
    bool debugMode = false;   // [Settings] Debug
    QString smtpServer;       // [Settings] SMTPServer

    bool keepSent = true;         // [Settings] KeepSent: copy sent messages to the sent folder
    bool sendActive = false;      // [Settings] SendActive: the send cycle runs on the polling tick
    bool receiveActive = false;   // [Settings] ReceiveActive
    int outTiming = 0;            // [Settings] OutTiming: seconds between send cycles
    int inTiming = 0;             // [Settings] InTiming: seconds between receive cycles
    int timerInterval = 5000;     // polling timer, ms ([Settings] Timer)
    int timeoutSeconds = 10;      // [Settings] Timeout
    bool minimizeToTray = false;  // [Settings] MinimizeToTray: start in and minimise to the tray

    // Counters shown by the main window.
    int sentCount = 0;
    int receivedCount = 0;
    int processedCount = 0;
};
