#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "AppContext.h"
#include "AppIcons.h"
#include "Fields.h"
#include "FolderCounter.h"
#include "Gateway.h"
#include "GatewayPause.h"
#include "LogWriter.h"
#include "MessageFiles.h"
#include "Schedule.h"
#include "ScreenFit.h"
#include "Settings.h"
#include "StatusPanel.h"
#include "Twips.h"

namespace {

const QString kSendSMS = QStringLiteral("frmSendSMS");
const QString kBrowse = QStringLiteral("frmBrowse");
const QString kAddressBook = QStringLiteral("frmAddressBook");
const QString kJobs = QStringLiteral("frmJobs");
const QString kMailSettings = QStringLiteral("frmMailSettings");

}  // namespace

class frmMain::Private {
public:
    explicit Private(AppContext& ctx) : schedule(ctx) {}
    Schedule schedule;
    FolderCounter counter;
    StatusPanel* status = nullptr;
    StatusPanel* device = nullptr;
    StatusPanel* port = nullptr;
    StatusPanel* speed = nullptr;
    QString statusText;
    bool loaded = false;
    bool closePending = false;
    QList<QAction*> commands;
};

frmMain::frmMain(AppContext& ctx, QWidget* parent) : QMainWindow(parent), m_ctx(ctx), d(new Private(ctx)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tellwick"));
    const QIcon icon = AppIcons::program();
    if (qApp) {
        QApplication::setWindowIcon(icon);
    }
    setWindowIcon(icon);
    lstImages.add(QStringLiteral("Asc"), AppIcons::sortArrow(true));
    lstImages.add(QStringLiteral("Desc"), AppIcons::sortArrow(false));

    Schedule& schedule = d->schedule;
    InTimer = schedule.pollTimer();
    SignalTimer = schedule.signalTimer();
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    quitApplication = [] { QCoreApplication::exit(0); };
    schedule.quitApplication = [this] {
        if (quitApplication) {
            quitApplication();
        }
    };
    schedule.unload = [this] {
        if (d->loaded) {
            Form_Unload();
        } else {
            d->schedule.shutDown();
        }
    };
    connect(&schedule, &Schedule::statusChanged, this, &frmMain::showStatus);
    connect(&schedule, &Schedule::pausedChanged, this, [this](bool paused) {
        setCommandsEnabled(!paused);
        if (!paused && d->closePending) {
            d->closePending = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    });
    connect(&schedule, &Schedule::polled, this, [this](int handled) {
        if (handled > 0) {
            showStatus(d->schedule.gateway().phoneStatus());
        }
        showCounters();
    });
    connect(&schedule, &Schedule::signalled, this, [this] {
        refreshPanels();
        showCounters();
    });

    buildMenus();
    buildCentral();
    buildStatusBar();
    resize(Twips::toPixels(7200), Twips::toPixels(4200));
    showStatus({});
    showCounters();
    updateCommands();
}

frmMain::~frmMain() {
    delete d;
}

Gateway& frmMain::gateway() {
    return d->schedule.gateway();
}
Schedule& frmMain::schedule() {
    return d->schedule;
}
bool frmMain::timersDisabled() const {
    return d->schedule.isPaused();
}
bool frmMain::isLoaded() const {
    return d->loaded;
}

void frmMain::buildMenus() {
    auto action = [this](QAction*& slot, const QString& name, const QString& text, QKeySequence key,
                         void (frmMain::*handler)()) {
        slot = new QAction(text, this);
        slot->setObjectName(name);
        if (!key.isEmpty()) {
            slot->setShortcut(key);
        }
        connect(slot, &QAction::triggered, this, handler);
        d->commands.append(slot);
    };
    action(mnuSendSMS, QStringLiteral("mnuSendSMS"), QStringLiteral("&Send SMS..."), QKeySequence(Qt::Key_F2),
           &frmMain::mnuSendSMS_Click);
    action(mnuBrowse, QStringLiteral("mnuBrowse"), QStringLiteral("Message &Browser..."),
           QKeySequence(Qt::Key_F3), &frmMain::mnuBrowse_Click);
    action(mnuAddressBook, QStringLiteral("mnuAddressBook"), QStringLiteral("&Address Book..."),
           QKeySequence(Qt::Key_F4), &frmMain::mnuAddressBook_Click);
    action(mnuJobs, QStringLiteral("mnuJobs"), QStringLiteral("&Job Control..."), QKeySequence(Qt::Key_F6),
           &frmMain::mnuJobs_Click);
    action(mnuMailSettings, QStringLiteral("mnuMailSettings"), QStringLiteral("&Mail Settings..."), {},
           &frmMain::mnuMailSettings_Click);
    action(mnuShowLog, QStringLiteral("mnuShowLog"), QStringLiteral("Show &Transaction Log"),
           QKeySequence(Qt::Key_F7), &frmMain::mnuShowLog_Click);
    action(mnuShowDebugLog, QStringLiteral("mnuShowDebugLog"), QStringLiteral("Show &Debug Log"),
           QKeySequence(Qt::Key_F8), &frmMain::mnuShowDebugLog_Click);
    action(mnuExit, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), {}, &frmMain::mnuExit_Click);
    mnuTrayRestore = new QAction(QStringLiteral("&Restore Tellwick"), this);
    mnuTrayRestore->setObjectName(QStringLiteral("mnuTrayRestore"));
    connect(mnuTrayRestore, &QAction::triggered, this, &frmMain::mnuTrayRestore_Click);

    QStyle* st = style();
    mnuSendSMS->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    mnuBrowse->setIcon(st->standardIcon(QStyle::SP_DirOpenIcon));
    mnuAddressBook->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    mnuJobs->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(mnuSendSMS);
    file->addAction(mnuBrowse);
    file->addAction(mnuAddressBook);
    file->addSeparator();
    file->addAction(mnuExit);
    QMenu* jobs = menuBar()->addMenu(QStringLiteral("&Jobs"));
    jobs->addAction(mnuJobs);
    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    settings->addAction(mnuMailSettings);
    QMenu* logs = menuBar()->addMenu(QStringLiteral("&Log"));
    logs->addAction(mnuShowLog);
    logs->addAction(mnuShowDebugLog);
    for (QMenu* m : {file, jobs, settings}) {
        connect(m, &QMenu::aboutToShow, this, &frmMain::updateCommands);
    }

    tbrMain = addToolBar(QStringLiteral("Commands"));
    tbrMain->setObjectName(QStringLiteral("tbrMain"));
    tbrMain->setMovable(false);
    tbrMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMain->addAction(mnuSendSMS);
    tbrMain->addAction(mnuBrowse);
    tbrMain->addAction(mnuAddressBook);
    tbrMain->addAction(mnuJobs);

    mnuTray = new QMenu(this);
    mnuTray->setObjectName(QStringLiteral("mnuTray"));
    mnuTray->addAction(mnuTrayRestore);
    mnuTray->addSeparator();
    mnuTray->addAction(mnuSendSMS);
    mnuTray->addAction(mnuBrowse);
    mnuTray->addAction(mnuAddressBook);
    mnuTray->addAction(mnuJobs);
    mnuTray->addSeparator();
    mnuTray->addAction(mnuExit);
    connect(mnuTray, &QMenu::aboutToShow, this, &frmMain::updateCommands);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayIcon = new QSystemTrayIcon(windowIcon(), this);
        trayIcon->setToolTip(QStringLiteral("Tellwick"));
        trayIcon->setContextMenu(mnuTray);
        connect(trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
            if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick) {
                mnuTrayRestore_Click();
            }
        });
    }
}

void frmMain::buildCentral() {
    auto* central = new QWidget(this);
    auto* form = new QFormLayout;
    auto label = [central](const QString& name) {
        auto* l = new QLabel(central);
        l->setObjectName(name);
        return l;
    };
    labSent = label(QStringLiteral("labSent"));
    labReceived = label(QStringLiteral("labReceived"));
    labProcessed = label(QStringLiteral("labProcessed"));
    labFolders = label(QStringLiteral("labFolders"));
    form->addRow(QStringLiteral("Messages sent:"), labSent);
    form->addRow(QStringLiteral("Messages received:"), labReceived);
    form->addRow(QStringLiteral("Messages processed:"), labProcessed);
    form->addRow(QStringLiteral("Message files:"), labFolders);
    auto* box = new QVBoxLayout(central);
    box->addLayout(form);
    box->addStretch(1);
    setCentralWidget(central);
}

void frmMain::buildStatusBar() {
    // The status takes the room the others leave and, when cut, shows itself whole as its
    // tip; the device, port and speed show their texts whole.
    auto panel = [this](const QString& name, int minTwips, bool fitsText) {
        // Plain text: status texts quote names, numbers and the phone's replies.
        auto* l = new StatusPanel(this, Twips::toPixels(minTwips), fitsText);
        l->setObjectName(name);
        return l;
    };
    d->status = panel(QStringLiteral("Status"), 1500, false);
    d->device = panel(QStringLiteral("Device"), 1500, true);
    d->port = panel(QStringLiteral("Port"), 1200, true);
    d->speed = panel(QStringLiteral("Speed"), 750, true);
    statusBar()->addWidget(d->status, 1);
    statusBar()->addPermanentWidget(d->device);
    statusBar()->addPermanentWidget(d->port);
    statusBar()->addPermanentWidget(d->speed);
}

void frmMain::fitStatusBar() {
    // As wide as the bar asks to be (the device, port and speed whole, the status at its least
    // width): worked out from what the panels ask, not from the widths they have now, which the
    // bar may not have laid out yet; no wider than the screen.
    if (!isVisible()) {
        return;
    }
    QStatusBar* bar = statusBar();
    bar->layout()->activate();
    int width = this->width() - bar->width() + bar->sizeHint().width();
    if (const QScreen* s = screen()) {
        width = qMin(width, s->availableGeometry().width() - (frameGeometry().width() - this->width()));
    }
    if (width > this->width()) {
        resize(width, height());
    }
}

void frmMain::Form_Load() {
    if (d->loaded) {
        return;
    }
    restorePosition();
    SharedState& s = m_ctx.state();
    s.sentCount = s.receivedCount = s.processedCount = 0;
    m_ctx.getSettings();
    // Messages a crash left claimed are back in the outgoing folder (and its count) at once,
    // even while no phone answers.
    d->schedule.gateway().sendCycle().takeUpClaims(s.outDir);
    InTimer->setInterval(s.timerInterval);
    if (trayIcon) {
        trayIcon->show();
    }
    showStatus(QStringLiteral("starting mobile device..."));
    QString status;
    {
        const GatewayPause pause(m_ctx);  // the phone dialogue lets the tray menu's commands in otherwise
        status = d->schedule.gateway().startPhone();
    }
    if (d->schedule.isEnding()) {
        return;  // a signal came while the phone was started
    }
    showStatus(status);
    showCounters();
    d->loaded = true;
    updateCommands();
    if (s.minimizeToTray && trayIcon) {
        hide();
    } else {
        show();
        // Only now is the frame known: all of it, not just the inside, is to be seen.
        ScreenFit::keepOnScreen(this);
    }
    m_ctx.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("isRunning"), QStringLiteral("1"));
    d->schedule.start();
}

void frmMain::Form_Unload() {
    if (!d->loaded) {
        return;
    }
    d->loaded = false;
    d->schedule.shutDown();
    storePosition();
    if (trayIcon) {
        trayIcon->hide();
    }
}

void frmMain::restorePosition() {
    bool okL = false, okT = false, okW = false, okH = false;
    const int left = leadingInt(Settings::value(m_ctx, QStringLiteral("WindowLeft")), &okL);
    const int top = leadingInt(Settings::value(m_ctx, QStringLiteral("WindowTop")), &okT);
    const int width = leadingInt(Settings::value(m_ctx, QStringLiteral("WindowWidth")), &okW);
    const int height = leadingInt(Settings::value(m_ctx, QStringLiteral("WindowHeight")), &okH);
    if (okW && okH && width > 0 && height > 0) {
        resize(Twips::toPixels(width), Twips::toPixels(height));
    }
    if (okL && okT) {
        // Left and top are those of the frame, as move() takes them; a window saved where no
        // screen shows it (a screen gone, another scale factor) comes onto one.
        move(Twips::toPixels(left), Twips::toPixels(top));
        ScreenFit::keepOnScreen(this);
    }
}

void frmMain::storePosition() {
    if (isMinimized() || isMaximized()) {
        return;
    }
    // The frame's corner (pos), not the inside's (geometry): restorePosition moves the frame.
    const QPoint at = pos();
    IniStore& ini = m_ctx.ini();
    const QString sec = QStringLiteral("Settings");
    ini.writeINIValues(sec, {{QStringLiteral("WindowLeft"), QString::number(Twips::fromPixels(at.x()))},
                             {QStringLiteral("WindowTop"), QString::number(Twips::fromPixels(at.y()))},
                             {QStringLiteral("WindowWidth"), QString::number(Twips::fromPixels(width()))},
                             {QStringLiteral("WindowHeight"), QString::number(Twips::fromPixels(height()))}});
}

void frmMain::tempDisableTimers() {
    d->schedule.pause();
}

void frmMain::TempRestoreTimers() {
    d->schedule.resume();
}

void frmMain::setCommandsEnabled(bool on) {
    menuBar()->setEnabled(on);
    tbrMain->setEnabled(on);
    mnuTray->setEnabled(on);
    if (on) {
        updateCommands();
    } else {
        for (QAction* a : std::as_const(d->commands)) {
            a->setEnabled(false);
        }
    }
}

void frmMain::updateCommands() {
    if (d->schedule.isPaused()) {
        return;
    }
    const WindowRegistry& w = m_ctx.windows();
    mnuSendSMS->setEnabled(w.has(kSendSMS));
    mnuBrowse->setEnabled(w.has(kBrowse));
    mnuAddressBook->setEnabled(w.has(kAddressBook));
    mnuJobs->setEnabled(w.has(kJobs));
    mnuMailSettings->setEnabled(w.has(kMailSettings));
    mnuShowLog->setEnabled(true);
    mnuShowDebugLog->setEnabled(true);
    mnuExit->setEnabled(true);
}

void frmMain::showStatus(const QString& text) {
    d->statusText = text.isEmpty() ? QStringLiteral("Idle...") : text;
    d->status->setPanelText(d->statusText);
    refreshPanels();
}

void frmMain::refreshPanels() {
    const DeviceIdentity& id = m_ctx.phone().identity();
    d->device->setPanelText(id.known() ? id.manufacturer + u' ' + id.model
                                       : QStringLiteral("no mobile device found"));
    const QString portSetting = Settings::value(m_ctx, QStringLiteral("Port"));
    d->port->setPanelText(!id.port.isEmpty()
                              ? id.port
                              : (portSetting.isEmpty() ? QString() : PhoneLink::devicePath(portSetting)));
    const QString speedSetting = Settings::value(m_ctx, QStringLiteral("Speed"));
    d->speed->setPanelText(id.speed ? QString::number(id.speed) : speedSetting);
    // Once the bar has laid the new texts out.
    QTimer::singleShot(0, this, &frmMain::fitStatusBar);
}

QString frmMain::panelText(const QString& key) const {
    if (key == QLatin1String("Status"))
        return d->status->text();
    if (key == QLatin1String("Device"))
        return d->device->text();
    if (key == QLatin1String("Port"))
        return d->port->text();
    if (key == QLatin1String("Speed"))
        return d->speed->text();
    return {};
}

void frmMain::showCounters() {
    const SharedState& s = m_ctx.state();
    labSent->setText(QString::number(s.sentCount));
    labReceived->setText(QString::number(s.receivedCount));
    labProcessed->setText(QString::number(s.processedCount));
    labFolders->setText(QStringLiteral("%1 incoming, %2 outgoing, %3 sent, %4 archived")
                            .arg(d->counter.count(s.inDir))
                            .arg(d->counter.count(s.outDir))
                            .arg(d->counter.count(s.sentDir))
                            .arg(d->counter.count(s.arcDir)));
}

void frmMain::logSending(const QString& recipient, const QString& text, bool ok, const QString& source) {
    MessageFiles::logSending(m_ctx, recipient, text, ok, source);
}

void frmMain::openModal(const QString& name) {
    if (d->schedule.isPaused() || !m_ctx.windows().has(name)) {
        return;
    }
    {
        const GatewayPause pause(m_ctx);
        if (auto* dialog = m_ctx.windows().get<QDialog>(name)) {
            dialog->exec();
        }
    }
    showCounters();
}

void frmMain::openBeside(const QString& name) {
    if (d->schedule.isPaused() || !m_ctx.windows().has(name)) {
        return;
    }
    // Loading may query the phone (the address book asks for its memories): timers off meanwhile.
    const bool loading = !m_ctx.windows().isLoaded(name);
    QWidget* w = nullptr;
    if (loading) {
        const GatewayPause pause(m_ctx);
        w = m_ctx.windows().get(name);
    } else {
        w = m_ctx.windows().get(name);
    }
    if (w) {
        if (loading) {
            placeBeside(w);
        }
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void frmMain::placeBeside(QWidget* w) const {
    // Right of the main window, else left of it, else below its toolbar: never over the
    // menus and the toolbar, which stay within reach.
    const QRect main = frameGeometry();
    const QScreen* screen = this->screen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    const QSize size = w->frameGeometry().size().expandedTo(w->size());
    constexpr int kGap = 8;
    QPoint at(main.right() + 1 + kGap, main.top());
    if (at.x() + size.width() > avail.right() + 1) {
        at.setX(main.left() - kGap - size.width());
        if (at.x() < avail.left()) {
            const QWidget* top = tbrMain && tbrMain->isVisible() ? static_cast<QWidget*>(tbrMain) : menuBar();
            at = QPoint(main.left() + kGap, top->mapToGlobal(QPoint(0, top->height())).y() + kGap);
        }
    }
    w->move(at);
}

void frmMain::mnuSendSMS_Click() {
    openModal(kSendSMS);
}
void frmMain::mnuBrowse_Click() {
    openBeside(kBrowse);
}
void frmMain::mnuAddressBook_Click() {
    openBeside(kAddressBook);
}
void frmMain::mnuJobs_Click() {
    openModal(kJobs);
}
void frmMain::mnuMailSettings_Click() {
    openModal(kMailSettings);
}

void frmMain::openLog(const QString& path) {
    if (!QFile::exists(path)) {
        // An empty log is still something to look at.
        QFile f(path);
        if (f.open(QIODevice::Append)) {
            f.close();
        }
    }
    if (!openUrl || !openUrl(QUrl::fromLocalFile(path))) {
        // The file is there when only the program to show it is missing: say which it is.
        const QString text = QFileInfo(path).isFile() ? QStringLiteral(
                                                            "No program to show text files was found.\r\n"
                                                            "The log file is %1")
                                                      : QStringLiteral("Can't open %1");
        m_ctx.msgBox().show(text.arg(QDir::toNativeSeparators(path)), MsgBox::OKOnly, MsgBox::Critical,
                            QStringLiteral("Tellwick: Error opening logfile"), this);
    }
}

void frmMain::mnuShowLog_Click() {
    openLog(m_ctx.log().transactionLogPath());
}
void frmMain::mnuShowDebugLog_Click() {
    openLog(m_ctx.log().debugLogPath());
}
void frmMain::mnuExit_Click() {
    close();
}

void frmMain::mnuTrayRestore_Click() {
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

void frmMain::InTimer_Timer() {
    d->schedule.pollTick();
}

void frmMain::SignalTimer_Timer() {
    d->schedule.signalTick();
}

bool frmMain::isEnding() const {
    return d->schedule.isEnding();
}

void frmMain::terminationSignal() {
    d->schedule.terminationSignal();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the port under a running phone dialogue would fail the message being sent
    // and every file after it: the send cycle stops after its current file and the window
    // closes when the dialogue is over.
    if (d->schedule.isPaused()) {
        d->closePending = true;
        d->schedule.gateway().sendCycle().stop();
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    QCoreApplication::quit();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && trayIcon && trayIcon->isVisible() &&
        m_ctx.state().minimizeToTray) {
        QTimer::singleShot(0, this, &QWidget::hide);
    }
}
