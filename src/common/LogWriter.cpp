#include "LogWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

LogWriter::LogWriter(QString folder) : m_folder(std::move(folder)) {}

QString LogWriter::transactionLogPath() const {
    return QDir(m_folder).filePath(QString::fromLatin1(kTransactionLog));
}

QString LogWriter::debugLogPath() const { return QDir(m_folder).filePath(QString::fromLatin1(kDebugLog)); }

QString LogWriter::stamp() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyy-MM-dd")) + u'/' + now.toString(QStringLiteral("HH:mm:ss"));
}

bool LogWriter::writeLog(const QString& text, bool debug) {
    return appendRaw(stamp() + QStringLiteral(": ") + text, debug);
}

bool LogWriter::appendRaw(const QString& line, bool debug) {
    const QString path = debug ? debugLogPath() : transactionLogPath();
    QString clean = line;
    clean.replace(QLatin1String("\r\n"), QLatin1String(" "));
    clean.replace(u'\r', u' ');
    clean.replace(u'\n', u' ');
    QFile file(path);
    // A new log is its owner's only: it holds every message text.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Append, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (ok) {
        const QByteArray bytes = clean.toUtf8() + '\n';
        ok = file.write(bytes) == bytes.size();
    }
    const QString error = file.errorString();
    file.close();
    if (!ok && m_debugMode && m_onFailure) {
        m_onFailure(path, error);
    }
    return ok;
}
