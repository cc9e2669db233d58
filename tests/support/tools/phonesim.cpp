// A simulated phone on a pseudo-terminal: point the program's port setting at the device
// path it prints. Runs until it is killed.
//   phonesim [--no-echo] [--text-only] [--pin STATE] [--speed BPS] [--link PATH]
// With --link the phone is reached through PATH, a symbolic link that a phonesim started
// again with the same PATH points to its new pty: a phone unplugged and plugged in again.
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <csignal>
#include <cstdio>

#include "PhoneSimulator.h"

namespace {
QByteArray g_link;  // removed when the phone is stopped, as an unplugged modem's device name goes

void onStop(int) {
    if (!g_link.isEmpty()) {
        ::unlink(g_link.constData());
    }
    ::_exit(0);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PhoneSimulator phone;
    QString link;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--no-echo")) {
            phone.setEcho(false);
        } else if (a == QLatin1String("--text-only")) {
            phone.setPduSupported(false);
        } else if (a == QLatin1String("--pin") && i + 1 < args.size()) {
            phone.setPinState(args.at(++i));
        } else if (a == QLatin1String("--speed") && i + 1 < args.size()) {
            phone.setLineSpeed(args.at(++i).toInt());
        } else if (a == QLatin1String("--link") && i + 1 < args.size()) {
            link = args.at(++i);
        } else {
            std::fprintf(
                stderr,
                "usage: phonesim [--no-echo] [--text-only] [--pin STATE] [--speed BPS] [--link PATH]\n");
            return 2;
        }
    }
    if (link.isEmpty() ? !phone.start() : !phone.startAt(link)) {
        std::fprintf(stderr, "phonesim: no pseudo-terminal: %s\n", qPrintable(phone.errorString()));
        return 1;
    }
    QObject::connect(&phone, &PhoneSimulator::commandReceived,
                     [](const QString& command) { std::fprintf(stderr, "<- %s\n", qPrintable(command)); });
    QObject::connect(&phone, &PhoneSimulator::submitted, [](const PhoneSimulator::Submission& s) {
        const QString text = s.pdu ? PhoneSimulator::decodeSubmit(s.body).text : s.text;
        std::fprintf(stderr, "SMS: %s\n", qUtf8Printable(text));
        if (s.unfit > 0) {
            std::fprintf(stderr, "SMS: %d byte(s) outside the character set %s\n", s.unfit,
                         qPrintable(s.charset));
        }
    });
    if (!link.isEmpty()) {
        g_link = QFile::encodeName(link);
        std::signal(SIGTERM, onStop);
        std::signal(SIGINT, onStop);
    }
    std::printf("%s\n", qPrintable(link.isEmpty() ? phone.devicePath() : link));
    std::fflush(stdout);
    return app.exec();
}
