#include "frmMain.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "AppContext.h"
#include "LogWriter.h"

class frmMain::Private {
public:
    QLabel* status = nullptr;
    QLabel* device = nullptr;
    QLabel* port = nullptr;
    QLabel* speed = nullptr;
    int disableDepth = 0;
};

frmMain::frmMain(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx), d(new Private) {
    setWindowTitle(QStringLiteral("Tellwick"));
    InTimer = new QTimer(this);
    SignalTimer = new QTimer(this);
    d->status = new QLabel(this);
    d->device = new QLabel(this);
    d->port = new QLabel(this);
    d->speed = new QLabel(this);
    statusBar()->addWidget(d->status, 1);
    statusBar()->addPermanentWidget(d->device);
    statusBar()->addPermanentWidget(d->port);
    statusBar()->addPermanentWidget(d->speed);
    showStatus({});
}

frmMain::~frmMain() { delete d; }

void frmMain::Form_Load() { m_ctx.getSettings(); }

void frmMain::Form_Unload() {}

void frmMain::tempDisableTimers() { ++d->disableDepth; }

void frmMain::TempRestoreTimers() {
    if (d->disableDepth > 0) {
        --d->disableDepth;
    }
}

void frmMain::showStatus(const QString& text) {
    d->status->setText(text.isEmpty() ? QStringLiteral("Idle...") : text);
    const DeviceIdentity& id = m_ctx.phone().identity();
    d->device->setText(id.known() ? id.manufacturer + u' ' + id.model : QStringLiteral("no mobile device found"));
    d->port->setText(id.port);
    d->speed->setText(id.speed ? QString::number(id.speed) : QString());
}

QString frmMain::panelText(const QString& key) const {
    if (key == QLatin1String("Status")) return d->status->text();
    if (key == QLatin1String("Device")) return d->device->text();
    if (key == QLatin1String("Port")) return d->port->text();
    if (key == QLatin1String("Speed")) return d->speed->text();
    return {};
}

void frmMain::logSending(const QString& recipient, const QString& text, bool ok, const QString& source) {
    const QString src = source.isEmpty() ? QStringLiteral("MANUAL") : source;
    QString line = LogWriter::stamp() + u'/' + src + u'/' + recipient + QStringLiteral(": '") + text +
                   (ok ? QStringLiteral("' was sent successfully.") : QStringLiteral("' was NOT sent."));
    if (src != QLatin1String("MANUAL")) {
        line += ok ? QStringLiteral(" File was deleted.") : QStringLiteral(" File NOT deleted.");
    }
    m_ctx.log().appendRaw(line);
}
