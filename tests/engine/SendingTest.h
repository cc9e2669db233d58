#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "AppContext.h"
#include "PhoneSimulator.h"
#include "TestContext.h"

// Starts the simulator and the context's phone on it ([Settings] Port and Speed written, the
// settings read, the simulator's records cleared). "" when the phone is ready, else why not.
inline QString startSimulatedPhone(AppContext& ctx, PhoneSimulator& sim) {
    if (!sim.start()) {
        return sim.errorString();
    }
    const QString settings = QStringLiteral("Settings");
    ctx.ini().writeINI(settings, QStringLiteral("Port"), sim.devicePath());
    ctx.ini().writeINI(settings, QStringLiteral("Speed"), QStringLiteral("115200"));
    if (!ctx.phone().openPort()) {
        return ctx.phone().lastError();
    }
    if (!ctx.phone().startDevice()) {
        return ctx.phone().startError();
    }
    ctx.getSettings();
    sim.clearRecords();
    return {};
}

// What the tests of sending share: a context and a simulated phone (made by each test's init),
// and the folders, settings and submissions they look at.
class SendingTest : public QObject {
protected:
    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;

    AppContext& ctx() { return t->ctx(); }
    QString out() { return ctx().state().outDir; }
    QString sent() { return ctx().state().sentDir; }
    void set(const char* key, const QString& value) {
        ctx().ini().writeINI(QStringLiteral("Settings"), QString::fromLatin1(key), value);
    }
    QString writeOutgoing(const QString& name, const QByteArray& content) {
        const QString path = out() + u'/' + name;
        t->writeFile(path, content);
        return path;
    }
    // "<number>|<text>" of each message the phone received, in order.
    QStringList sentTexts() {
        QStringList texts;
        for (const SubmittedSms& s : sim->decodedSubmissions()) {
            texts.append(s.number + u'|' + s.text);
        }
        return texts;
    }
};
