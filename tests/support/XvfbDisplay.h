#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <csignal>

// A private X server for tests that need real windows on a real screen (the xcb platform):
// started before the QApplication, on the first free display, and ended with the object.
// Without an Xvfb binary nothing starts and running() is false (the test skips). The screen
// is 1920x1080, or 3840x2160 when QT_SCALE_FACTOR asks for twice the scale.
class XvfbDisplay {
public:
    XvfbDisplay() {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) {
            return;
        }
        const QByteArray size = qgetenv("QT_SCALE_FACTOR").toDouble() >= 2
                                    ? QByteArrayLiteral("3840x2160x24")
                                    : QByteArrayLiteral("1920x1080x24");
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        const QByteArray program = xvfb.toLocal8Bit();
        const QByteArray fd = QByteArray::number(fds[1]);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(program.constData(), program.constData(), "-displayfd", fd.constData(), "-screen", "0",
                    size.constData(), "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        QByteArray number;
        char c = 0;
        while (m_pid > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') {
            number.append(c);
        }
        ::close(fds[0]);
        if (number.isEmpty()) {
            stop();
            return;
        }
        qputenv("DISPLAY", ':' + number);
        qputenv("QT_QPA_PLATFORM", "xcb");
        m_running = true;
    }
    ~XvfbDisplay() { stop(); }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool running() const { return m_running; }

private:
    void stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
        m_running = false;
    }

    pid_t m_pid = -1;
    bool m_running = false;
};
