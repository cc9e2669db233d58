#pragma once

#include <QString>
#include <functional>

// Appends "<date>/<time>: <text>" lines to the transaction log or the debug log of the
// program folder, opening and closing the file for each line.
class LogWriter {
public:
    static constexpr const char* kTransactionLog = "tellwick.log";
    static constexpr const char* kDebugLog = "debug.log";

    explicit LogWriter(QString folder = {});

    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    // Debug mode follows [Settings] Debug (callers write debug lines only when it is on); a
    // failed write is reported through the failure handler in debug mode and ignored otherwise.
    void setDebugMode(bool on) { m_debugMode = on; }
    bool debugMode() const { return m_debugMode; }

    // Called with the log's path and the error text when a line cannot be written in debug mode.
    void setFailureHandler(std::function<void(const QString& path, const QString& error)> handler) {
        m_onFailure = std::move(handler);
    }

    // Appends one line; debug selects debug.log. Returns false when the line was not written.
    bool writeLog(const QString& text, bool debug = false);
    // Appends a line as it is, without the date/time prefix (the send log's own format).
    bool appendRaw(const QString& line, bool debug = false);

    QString transactionLogPath() const;
    QString debugLogPath() const;

    // "<date>/<time>" of now, the prefix of every log line.
    static QString stamp();

private:
    QString m_folder;
    bool m_debugMode = false;
    std::function<void(const QString&, const QString&)> m_onFailure;
};
