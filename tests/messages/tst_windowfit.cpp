#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>
#include <functional>
#include <memory>

#include "JobEditorWindows.h"
#include "ListView.h"
#include "MessagesWindows.h"
#include "PhoneSimulator.h"
#include "TestContext.h"
#include "TabWalk.h"
#include "TextFit.h"
#include "frmAddressBook.h"
#include "frmBrowse.h"
#include "frmCopyMove.h"
#include "frmEditMsg.h"
#include "frmJobExec.h"
#include "frmJobForward.h"
#include "frmJobMailbox.h"
#include "frmJobMailboxEdit.h"
#include "frmJobQuery.h"
#include "frmJobSendmail.h"
#include "frmMain.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"
#include "TabStrip.h"

using namespace Qt::StringLiterals;

namespace {

// A program folder as a user's looks after some weeks: contacts, messages in every folder,
// one job of each type, contacts to import.
void fillProgramFolder(TestContext& t) {
    IniStore& ini = t.ini();
    for (const QString& folder : {u"In"_s, u"Out"_s, u"Sent"_s, u"Arc"_s, u"contacts"_s}) {
        QDir(t.folder()).mkpath(folder);
    }
    const QList<std::pair<QString, QString>> book{{u"Alexandra Baumgartner"_s, u"+4917012345678"_s},
                                                  {u"Dr. Hans-Peter Müller"_s, u"+4915198765432"_s},
                                                  {u"Mum"_s, u"+436641234567"_s},
                                                  {u"Werkstatt Öztürk"_s, u"+4930123456789"_s}};
    for (const auto& [name, number] : book) {
        ini.writeINI(u"Addressbook"_s, name, number);
    }
    const QString sms = u"Hallo Alexandra, wir treffen uns morgen um 19 Uhr am Bahnhof. Bring bitte den "
                        u"Schlüssel für die Garage mit!"_s;
    const auto message = [&](const QString& file, const QStringList& lines) {
        t.writeFile(file, lines.join(u'\n').toUtf8() + '\n');
    };
    for (int i = 1; i <= 12; ++i) {
        message(u"In/+4917012345678-202612%1-140509.sms"_s.arg(i, 2, 10, QLatin1Char('0')),
                {u"[Tellwick]"_s, u"Date=2026-12-%1"_s.arg(i, 2, 10, QLatin1Char('0')), u"Time=14:05:09"_s,
                 u"No=%1"_s.arg(i % 2 ? u"+4917012345678"_s : u"+4915799988877"_s), u"Text=WWWWW "_s + sms,
                 i % 3 ? u"Read=1"_s : u"Read=0"_s});
    }
    message(u"Out/20261207-140509-4917012345678-001.sms"_s,
            {u"[Tellwick]"_s, u"No=+4917012345678;+4915198765432"_s, u"Text="_s + sms, u"Report=1"_s});
    message(u"Out/20261207-140510-4930123456789-001.sms"_s,
            {u"[Tellwick]"_s, u"No=+4930123456789"_s, u"Text=MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"_s});
    message(u"Sent/20261207-140509-4917012345678-001.sms"_s,
            {u"[Tellwick]"_s, u"No=+4917012345678"_s, u"Text="_s + sms, u"Read=1"_s, u"[Job Result]"_s,
             u"Date=2026-12-07"_s, u"Time=14:06:10"_s, u"Result=OK: Message was sent to +4917012345678."_s});
    message(u"Arc/+4915198765432-20261206-090000.sms"_s,
            {u"[Tellwick]"_s, u"Date=2026-12-06"_s, u"Time=09:00:00"_s, u"No=+4915198765432"_s,
             u"Text=STATUS Heizung Keller"_s, u"[Job Result]"_s, u"Date=2026-12-06"_s, u"Time=09:00:05"_s,
             u"Result=Job 'Heizung' (e1) done: C:/Programme/Heizung/status.cmd returned 0"_s});

    const QList<QMap<QString, QString>> jobs{
        {{u"Section"_s, u"Job f1"_s}, {u"Type"_s, u"0"_s}, {u"Identification"_s, u"FWD"_s},
         {u"Name"_s, u"Forward to office"_s}, {u"Description"_s, u"Forwards every message to the office"_s},
         {u"Active"_s, u"1"_s}, {u"SMSRecipients"_s, u"+4917012345678,+4915198765432"_s}},
        {{u"Section"_s, u"Job e1"_s}, {u"Type"_s, u"1"_s}, {u"Identification"_s, u"STATUS"_s},
         {u"Name"_s, u"Heizung"_s}, {u"Description"_s, u"Reports the heating's state"_s}, {u"Active"_s, u"1"_s},
         {u"Program"_s, u"/usr/local/bin/heizung-status"_s}},
        {{u"Section"_s, u"Job q1"_s}, {u"Type"_s, u"2"_s}, {u"Identification"_s, u"STOCK"_s},
         {u"Name"_s, u"Stock query"_s}, {u"Description"_s, u"Answers with the stock of an article"_s},
         {u"Active"_s, u"0"_s}, {u"Connection"_s, u"Provider=SQLite;Data Source=/srv/shop/stock.db"_s},
         {u"Query"_s, u"SELECT amount FROM stock WHERE article = '<#1>'"_s}},
        {{u"Section"_s, u"Job s1"_s}, {u"Type"_s, u"3"_s}, {u"Identification"_s, u"MAIL"_s},
         {u"Name"_s, u"Mail to support"_s}, {u"Description"_s, u"Sends the message to support by e-mail"_s},
         {u"Active"_s, u"1"_s}, {u"MailTo"_s, u"support@example.org"_s}},
        {{u"Section"_s, u"Job m1"_s}, {u"Type"_s, u"4"_s}, {u"Identification"_s, u"MBOX"_s},
         {u"Name"_s, u"Office mailbox"_s}, {u"Description"_s, u"Checks the office mailbox every 15 minutes"_s},
         {u"Active"_s, u"1"_s}, {u"Interval"_s, u"15"_s}, {u"Server"_s, u"pop.example.org"_s},
         {u"User"_s, u"office"_s}, {u"Recipient"_s, u"+4917012345678"_s},
         {u"Criteria"_s, u"A:boss@example.org,S:URGENT"_s}, {u"Exception"_s, u"S:newsletter"_s}},
    };
    for (const QMap<QString, QString>& job : jobs) {
        for (auto it = job.cbegin(); it != job.cend(); ++it) {
            if (it.key() != u"Section"_s) {
                ini.writeINI(job.value(u"Section"_s), it.key(), it.value());
            }
        }
    }

    t.writeFile(u"contacts/baumgartner.vcf"_s,
                "BEGIN:VCARD\nVERSION:3.0\nFN:Alexandra Baumgartner\nTEL;TYPE=CELL:+49 170 12345678\n"
                "TEL;TYPE=WORK:+49 30 1234567\nEND:VCARD\n"
                "BEGIN:VCARD\nVERSION:3.0\nFN:Dr. Hans-Peter Müller-Lüdenscheidt\n"
                "TEL;TYPE=CELL:+49 151 98765432\nEND:VCARD\n");
    ini.writeINI(u"Settings"_s, u"ContactsFolder"_s, t.path(u"contacts"_s));
}

// Shows w as the user sees it and lists what does not fit.
QStringList shownMisfits(QWidget* w) {
    w->show();
    if (QWindow* handle = w->windowHandle()) {
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(handle);
    }
    // Sizes set while the window is shown reach it through the event loop.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return TextFit::misfits(w);
}

template <class Editor>
Editor* jobEditor(AppContext& ctx, const QString& type, const QString& key) {
    auto* e = ctx.windows().get<Editor>(QLatin1String(Editor::staticMetaObject.className()));
    e->setUpJob(key.isEmpty() ? u"Tellwick: New %1 job"_s.arg(type) : u"Tellwick: Edit %1 job"_s.arg(type), key);
    return e;
}

// Set TELLWICK_SHOTS to a folder to keep a picture of every window a test looks at.
void keepShot(QWidget* w) {
    if (const QString shots = qEnvironmentVariable("TELLWICK_SHOTS"); !shots.isEmpty()) {
        QString name = QString::fromLatin1(QTest::currentTestFunction()) + u'-' +
                       QString::fromLatin1(QTest::currentDataTag());
        name.replace(QRegularExpression(u"[^A-Za-z0-9]+"_s), u"-"_s);
        w->grab().save(u"%1/%2-scale%3.png"_s.arg(shots, name, qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s)));
    }
}

}  // namespace

class tst_WindowFit : public QObject {
    Q_OBJECT

    using Opener = std::function<QWidget*(AppContext&)>;
    std::unique_ptr<TestContext> t;

private slots:
    void init();
    void cleanup();
    void checkerFindsCutTexts();
    void textsFit_data();
    void textsFit();
    void besideWindowsLeaveTheMainWindowFree();
    void browserWidthFollowsItsTextsOnly();
    void statusTextsWhole_data();
    void listsGrowWithTheirWindow_data();
    void listsGrowWithTheirWindow();
    void statusTextsWhole();
    void fileTextIsShownAsWritten();
    void escapeClosesLikeClose_data();
    void escapeClosesLikeClose();
};

Q_DECLARE_METATYPE(std::function<QWidget*(AppContext&)>)

void tst_WindowFit::init() {
    t = std::make_unique<TestContext>();
    registerMessagesWindows(t->ctx().windows());
    registerJobEditorWindows(t->ctx().windows());
    fillProgramFolder(*t);
    t->ctx().getSettings();
}

void tst_WindowFit::cleanup() {
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
}

void tst_WindowFit::checkerFindsCutTexts() {
    // The checker itself: the same texts, once in too little room and once in enough.
    QWidget w;
    w.setObjectName(u"w"_s);
    auto* label = new QLabel(u"reci&pient(s) in international format"_s, &w);
    label->setObjectName(u"label"_s);
    auto* list = new ListView(&w);
    list->setObjectName(u"list"_s);
    list->addColumn(u"Number"_s, 1000);
    list->addItem(u"+4917012345678"_s)->setBold(true);
    w.resize(400, 300);
    label->setGeometry(0, 0, 60, 20);
    list->setGeometry(0, 40, 300, 200);
    const QStringList cut = shownMisfits(&w);
    QCOMPARE(cut.size(), 2);
    QVERIFY2(cut[0].startsWith(u"w/label label \"reci&pient(s)"_s), qPrintable(cut[0]));
    QVERIFY2(cut[1].startsWith(u"w/list cell 1,1 \"+4917012345678\""_s), qPrintable(cut[1]));
    label->resize(label->sizeHint());
    list->growColumnsToContents();
    QCOMPARE(TextFit::misfits(&w), QStringList());
}

void tst_WindowFit::textsFit_data() {
    QTest::addColumn<Opener>("open");
    QTest::newRow("main window") << Opener([](AppContext& ctx) -> QWidget* {
        frmMain& main = ctx.mainWindow();
        main.showStatus(u"sending SMS..."_s);
        main.showCounters();
        return &main;
    });
    QTest::newRow("compose, address panel open") << Opener([](AppContext& ctx) -> QWidget* {
        auto* d = ctx.windows().get<frmSendSMS>(u"frmSendSMS"_s);
        d->Text1->setPlainText(u"Bin in 10 Minuten da."_s);
        d->cmdAddress_Click();
        return d;
    });
    for (int tab = 1; tab <= 4; ++tab) {
        QTest::addRow("browser tab %d", tab) << Opener([tab](AppContext& ctx) -> QWidget* {
            ctx.mainWindow().mnuBrowse_Click();
            auto* b = ctx.windows().get<frmBrowse>(u"frmBrowse"_s);
            b->tubby->setSelectedIndex(tab);
            if (b->LstMsg2->count() > 0) {
                b->LstMsg2->setSelectedItem(b->LstMsg2->item(1));
                b->LstMsg2_Click();
            }
            return b;
        });
    }
    const auto viewer = [](const QString& file, int tab) {
        return Opener([file, tab](AppContext& ctx) -> QWidget* {
            auto* e = ctx.windows().get<frmEditMsg>(u"frmEditMsg"_s);
            e->messageFile = ctx.programFolder() + u'/' + file;
            e->browserTab = tab;
            return e;
        });
    };
    QTest::newRow("viewer, sent") << viewer(u"Sent/20261207-140509-4917012345678-001.sms"_s, 3);
    QTest::newRow("viewer, archived") << viewer(u"Arc/+4915198765432-20261206-090000.sms"_s, 4);
    QTest::newRow("address book") << Opener([](AppContext& ctx) -> QWidget* {
        ctx.mainWindow().mnuAddressBook_Click();
        return ctx.windows().get(u"frmAddressBook"_s);
    });
    QTest::newRow("contacts import") << Opener([](AppContext& ctx) -> QWidget* {
        auto* d = ctx.windows().get<frmOutlookImport>(u"frmOutlookImport"_s);
        d->lstFields->setCurrentRow(0);
        d->cmdRead->click();
        return d;
    });
    QTest::newRow("destination chooser") << Opener([](AppContext& ctx) -> QWidget* {
        auto* d = ctx.windows().get<frmCopyMove>(u"frmCopyMove"_s);
        d->fill(u"cmdMove"_s, u"SMS"_s, 250, 100);
        return d;
    });
    QTest::newRow("mail settings") << Opener([](AppContext& ctx) { return ctx.windows().get(u"frmMailSettings"_s); });
    QTest::newRow("job list") << Opener([](AppContext& ctx) { return ctx.windows().get(u"frmJobs"_s); });
    QTest::newRow("new-job chooser") << Opener([](AppContext& ctx) { return ctx.windows().get(u"frmJobNew"_s); });
    QTest::newRow("SQL examples") << Opener([](AppContext& ctx) { return ctx.windows().get(u"frmSQLHelp"_s); });
    for (const QString& key : {u"f1"_s, QString()}) {
        const QString mode = key.isEmpty() ? u"new"_s : u"edit"_s;
        QTest::addRow("forward editor, %s", qPrintable(mode)) << Opener([key](AppContext& ctx) -> QWidget* {
            return jobEditor<frmJobForward>(ctx, u"forward"_s, key);
        });
        QTest::addRow("exec editor, %s", qPrintable(mode)) << Opener([key](AppContext& ctx) -> QWidget* {
            return jobEditor<frmJobExec>(ctx, u"exec"_s, key.isEmpty() ? key : u"e1"_s);
        });
        QTest::addRow("query editor, %s", qPrintable(mode)) << Opener([key](AppContext& ctx) -> QWidget* {
            return jobEditor<frmJobQuery>(ctx, u"query"_s, key.isEmpty() ? key : u"q1"_s);
        });
        QTest::addRow("sendmail editor, %s", qPrintable(mode)) << Opener([key](AppContext& ctx) -> QWidget* {
            return jobEditor<frmJobSendmail>(ctx, u"sendmail"_s, key.isEmpty() ? key : u"s1"_s);
        });
        QTest::addRow("mailbox editor, %s", qPrintable(mode)) << Opener([key](AppContext& ctx) -> QWidget* {
            return jobEditor<frmJobMailbox>(ctx, u"mailbox"_s, key.isEmpty() ? key : u"m1"_s);
        });
    }
    QTest::newRow("criteria editor") << Opener([](AppContext& ctx) -> QWidget* {
        auto* mailbox = jobEditor<frmJobMailbox>(ctx, u"mailbox"_s, u"m1"_s);
        mailbox->show();
        auto* d = ctx.windows().get<frmJobMailboxEdit>(u"frmJobMailboxEdit"_s);
        d->setTag(u"C"_s);
        d->setLists(mailbox->lstCriteria, mailbox->lstException);
        return d;
    });
}

// Every text shown whole, and Tab walks the window as the eye reads it.
void tst_WindowFit::textsFit() {
    QFETCH(Opener, open);
    QWidget* w = open(t->ctx());
    QVERIFY(w);
    const QStringList misfits = shownMisfits(w);
    const QStringList wrong = TabWalk::outOfOrder(w);
    keepShot(w);
    w->hide();
    QVERIFY2(misfits.isEmpty(), qPrintable(u"\n"_s + misfits.join(u'\n')));
    QVERIFY2(wrong.isEmpty(), qPrintable(u"\ntab order:\n"_s + wrong.join(u'\n')));
}

void tst_WindowFit::besideWindowsLeaveTheMainWindowFree() {
    frmMain& main = t->ctx().mainWindow();
    const QRect avail = main.screen()->availableGeometry();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // Where the user keeps the main window: left, in the middle, right.
    for (const int left : {avail.left(), avail.center().x() - main.width() / 2, avail.right() - main.width()}) {
        main.move(left, avail.top());
        for (const QString& name : {u"frmBrowse"_s, u"frmAddressBook"_s}) {
            name == u"frmBrowse"_s ? main.mnuBrowse_Click() : main.mnuAddressBook_Click();
            QWidget* w = t->ctx().windows().existing(name);
            QVERIFY(w && w->isVisible());
            // Not a dialog of the main window: the desktop keeps it neither centred nor above.
            QVERIFY(w->isWindow());
            QCOMPARE(w->parentWidget(), nullptr);
            QCOMPARE(w->windowHandle()->transientParent(), nullptr);
            const QRect bar(main.tbrMain->mapToGlobal(QPoint(0, 0)), main.tbrMain->size());
            const QRect menu(main.menuWidget()->mapToGlobal(QPoint(0, 0)), main.menuWidget()->size());
            // Whole on the screen once it has its frame; and beside the main window, or below
            // its toolbar, where the screen leaves room for that.
            if (w->frameGeometry().width() <= avail.width() && w->frameGeometry().height() <= avail.height()) {
                QTRY_VERIFY2(avail.contains(w->frameGeometry()), qPrintable(name));
            }
            const QRect frame = w->frameGeometry();
            const QString where = u"%1 at %2,%3"_s.arg(name).arg(frame.x()).arg(frame.y());
            if (avail.bottom() - bar.bottom() > frame.height()) {
                QVERIFY2(!frame.intersects(bar) && !frame.intersects(menu), qPrintable(where));
            }
            t->ctx().windows().unload(name);
        }
    }
}

void tst_WindowFit::browserWidthFollowsItsTextsOnly() {
    t->ctx().mainWindow().mnuBrowse_Click();
    auto* b = t->ctx().windows().get<frmBrowse>(u"frmBrowse"_s);
    QVERIFY(b->isVisible());
    const auto columns = [b] {
        QList<int> widths;
        for (int c = 0; c < b->LstMsg2->columnCount(); ++c) {
            widths << b->LstMsg2->columnWidth(c);
        }
        return widths;
    };
    // Each tab once, as a user looks at them first.
    QList<QList<int>> first;
    for (int tab = 1; tab <= 4; ++tab) {
        b->tubby->setSelectedIndex(tab);
        first << columns();
    }
    const int width = b->width();
    // Then ten refreshes of each tab and as many switches.
    for (int round = 0; round < 10; ++round) {
        for (int tab = 1; tab <= 4; ++tab) {
            b->tubby->setSelectedIndex(tab);
            b->cmdRefresh_Click();
            QCOMPARE(columns(), first[tab - 1]);
        }
    }
    QCOMPARE(b->width(), width);
    // Texts shown whole need no more than the first width gave them.
    QCOMPARE(shownMisfits(b), QStringList());
}

void tst_WindowFit::listsGrowWithTheirWindow_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("list");
    QTest::newRow("browser") << u"frmBrowse"_s << u"LstMsg2"_s;
    QTest::newRow("address book") << u"frmAddressBook"_s << u"lstNames"_s;
}

void tst_WindowFit::listsGrowWithTheirWindow() {
    QFETCH(QString, window);
    QFETCH(QString, list);
    // A name longer than its column.
    t->ini().writeINI(u"Addressbook"_s, u"Dr. Maximilian Mustermann-Oberhuber von Hohenstein"_s, u"+4930555"_s);
    window == u"frmBrowse"_s ? t->ctx().mainWindow().mnuBrowse_Click() : t->ctx().mainWindow().mnuAddressBook_Click();
    QWidget* w = t->ctx().windows().existing(window);
    QVERIFY(w && w->isVisible());
    auto* l = w->findChild<ListView*>(list);
    // Close keeps its place at the window's bottom right.
    auto* book = qobject_cast<frmAddressBook*>(w);
    QWidget* b = book ? static_cast<QWidget*>(book->cmdClose) : qobject_cast<frmBrowse*>(w)->Command1;
    QVERIFY(l && b);
    QVERIFY(w->minimumSize() != w->maximumSize());
    const QSize before = l->size();
    const QPoint fromCorner = QPoint(w->width(), w->height()) - b->geometry().topLeft();
    w->resize(w->width() + 120, w->height() + 80);
    QTRY_COMPARE(l->size(), before + QSize(120, 80));
    QCOMPARE(QPoint(w->width(), w->height()) - b->geometry().topLeft(), fromCorner);
    // A cell too narrow for its text shows the whole text as its tip.
    if (window == u"frmAddressBook"_s) {
        w->resize(w->minimumSize());
        QTRY_COMPARE(l->size(), before);
        l->setColumnWidth(0, 120);
        const auto found = l->findItems(u"Dr. Maximilian"_s, Qt::MatchStartsWith);
        QVERIFY(!found.isEmpty());
        auto* cut = static_cast<ListItem*>(found.first());
        QCOMPARE(cut->data(0, Qt::ToolTipRole).toString(), u"Dr. Maximilian Mustermann-Oberhuber von Hohenstein"_s);
        QCOMPARE(cut->data(1, Qt::ToolTipRole).toString(), QString());  // the number fits
    }
    w->hide();
}

void tst_WindowFit::statusTextsWhole_data() {
    QTest::addColumn<QString>("status");  // %1: the port
    QTest::newRow("phone gone") << u"Mobile device gone from %1, waiting for it to come back"_s;
    QTest::newRow("sending") << u"sending SMS..."_s;
}

void tst_WindowFit::statusTextsWhole() {
    QFETCH(QString, status);
    const int firstWidth = t->ctx().mainWindow().width();
    // A real modem's long name, on a port by the long name the system gives it.
    PhoneSimulator sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    sim.setIdentity(u"Sierra Wireless, Incorporated"_s, u"EM7455"_s, u"354000000000001"_s);
    QTemporaryDir byId;
    const QString port = byId.filePath(u"usb-Sierra_Wireless__Incorporated_EM7455_0123456789-if02-port0"_s);
    QVERIFY(QFile::link(sim.devicePath(), port));
    QVERIFY(t->ctx().phone().openPort(port, 115200));
    QVERIFY(t->ctx().phone().startDevice());
    frmMain& main = t->ctx().mainWindow();
    status = status.contains(u"%1"_s) ? status.arg(port) : status;
    main.showStatus(status);
    QCOMPARE(main.panelText(u"Device"_s), u"Sierra Wireless, Incorporated EM7455"_s);
    QCOMPARE(main.panelText(u"Port"_s), port);
    QCOMPARE(shownMisfits(&main), QStringList());
    // The device and the port whole (the window grows for them), unless one would take more
    // than a third of the screen.
    const int third = main.screen()->availableGeometry().width() / 3;
    for (const QString& name : {u"Device"_s, u"Port"_s}) {
        auto* p = main.findChild<QLabel*>(name);
        QTRY_VERIFY2(p->width() >= qMin(p->sizeHint().width(), third) ||
                         (main.width() > firstWidth &&
                          main.frameGeometry().width() >= main.screen()->availableGeometry().width() - 1),
                     qPrintable(u"%1 %2 of %3 px"_s.arg(name).arg(p->width()).arg(p->sizeHint().width())));
    }
    keepShot(&main);
    // The status takes the rest; cut, it shows itself whole as its tip.
    auto* panel = main.findChild<QLabel*>(u"Status"_s);
    QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width() ||
            panel->toolTip() == status);
    // Grown, up to the screen's width.
    if (main.width() > firstWidth) {
        QVERIFY(main.frameGeometry().width() <= main.screen()->availableGeometry().width());
    }
    main.hide();
}

void tst_WindowFit::fileTextIsShownAsWritten() {
    // Markup in a file, a name or a phone's reply is text like any other.
    const QString file = u"Sent/<b>night.sms"_s;
    t->writeFile(file, "[Tellwick]\nNo=<i>+49170</i>\nText=<s>gone</s>\nDate=<b>today</b>\nTime=<b>now</b>\n"
                       "[Job Result]\nDate=<b>1</b>\nTime=<b>2</b>\nResult=<b>Night</b> run done\n");
    frmMain& main = t->ctx().mainWindow();
    main.showStatus(u"<b>Night</b> run"_s);
    main.mnuBrowse_Click();
    auto* browser = t->ctx().windows().get<frmBrowse>(u"frmBrowse"_s);
    browser->tubby->setSelectedIndex(3);
    browser->LstMsg2->setSelectedItem(browser->LstMsg2->item(1));
    browser->LstMsg2_Click();
    auto* viewer = t->ctx().windows().get<frmEditMsg>(u"frmEditMsg"_s);
    viewer->messageFile = t->path(file);
    viewer->browserTab = 3;
    viewer->show();
    QStringList asMarkup;
    int quoted = 0;
    for (QWidget* w : {static_cast<QWidget*>(&main), static_cast<QWidget*>(browser), static_cast<QWidget*>(viewer)}) {
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (label->text().contains(u'<')) {
                ++quoted;
                if (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(label->text())) {
                    asMarkup << w->objectName() + u'/' + label->objectName() + u": "_s + label->text();
                }
            }
        }
    }
    QVERIFY(quoted >= 7);  // the status, the browser's file line and the viewer's five values at least
    QVERIFY2(asMarkup.isEmpty(), qPrintable(asMarkup.join(u'\n')));
}

void tst_WindowFit::escapeClosesLikeClose_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("compose") << u"frmSendSMS"_s;
    QTest::newRow("browser") << u"frmBrowse"_s;
    QTest::newRow("viewer") << u"frmEditMsg"_s;
}

void tst_WindowFit::escapeClosesLikeClose() {
    QFETCH(QString, window);
    QWidget* w = t->ctx().windows().get(window);
    if (auto* viewer = qobject_cast<frmEditMsg*>(w)) {
        viewer->messageFile = t->path(u"Sent/20261207-140509-4917012345678-001.sms"_s);
        viewer->browserTab = 3;
    }
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QTRY_VERIFY(!t->ctx().windows().isLoaded(window));
    QVERIFY(t->msgBox().shown().isEmpty());
}

QTEST_MAIN(tst_WindowFit)
#include "tst_windowfit.moc"
