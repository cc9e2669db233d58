#pragma once

#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>

#include "IconLook.h"
#include "ListView.h"
#include "MessagesWindows.h"
#include "ModalDriver.h"
#include "PhoneSimulator.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmAddressBook.h"
#include "frmCopyMove.h"
#include "frmMain.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

inline const QString kSim = u"Addressbook.SM"_s;

// What the address-book tests share: a program folder, a simulated phone with both memories,
// the window, and the destination chooser answered from a timer.
class AddressBookFixture : public QObject {
protected:
    void setUp();
    void tearDown();
    bool startPhone();
    frmAddressBook* open();
    void selectTab(const QString& key) { w->Tubby->setSelectedIndex(w->Tubby->indexOfKey(key)); }
    void select(const QStringList& names);
    QStringList names() const;
    QStringList phonebookCommands() const;
    // The user picks option `pick` (0 cancels) in the destination chooser of the next command.
    void useChooser(int pick);
    void fillSim(int count);
    // Opens the window, declines to read the SIM and adds Eve with number to its copy.
    void addToTheSimUnread(const QString& number);
    const MsgBox::Shown& lastBox() const { return t->msgBox().shown().last(); }

    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;
    std::unique_ptr<frmAddressBook> w;
    QStringList chooserSeen;
    QTimer chooserPoll;
    int chooserPick = 0;
};

inline void AddressBookFixture::setUp() {
    t = std::make_unique<TestContext>();
    sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    sim->setPhonebook(u"ME"_s, 500, 40, 24);
    sim->setPhonebook(u"SM"_s, 10, 20, 14);
    chooserSeen.clear();
    registerMessagesWindows(t->ctx().windows());
    // Never the contacts of the person running the tests.
    t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, t->path(u"no-contacts"_s));
    chooserPoll.setInterval(10);
    chooserPoll.disconnect();
    connect(&chooserPoll, &QTimer::timeout, this, [this] {
        auto* d = qobject_cast<frmCopyMove*>(t->ctx().windows().existing(u"frmCopyMove"_s));
        if (!d || !d->isVisible()) {
            return;
        }
        chooserPoll.stop();
        auto state = [](QRadioButton* b) -> QString {
            return b->text() + (b->isEnabled() ? u""_s : u" (off)"_s);
        };
        chooserSeen << d->windowTitle() << d->Label1->text() << state(d->Opt1) << state(d->Opt2);
        if (chooserPick == 0) {
            d->cmdCancel->click();
            return;
        }
        (chooserPick == 1 ? d->Opt1 : d->Opt2)->click();
        d->cmdOK->click();
    });
}

inline void AddressBookFixture::useChooser(int pick) {
    chooserPick = pick;
    chooserPoll.start();
}

inline void AddressBookFixture::tearDown() {
    w.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
    sim.reset();
}

inline bool AddressBookFixture::startPhone() {
    if (!t->ctx().phone().openPort(sim->devicePath(), 115200) || !t->ctx().phone().startDevice()) {
        return false;
    }
    t->ctx().getSettings();
    sim->clearRecords();
    return true;
}

inline frmAddressBook* AddressBookFixture::open() {
    w = std::make_unique<frmAddressBook>(t->ctx());
    w->show();
    return w.get();
}

inline void AddressBookFixture::select(const QStringList& names) {
    w->lstNames->clearSelection();
    for (int i = 1; i <= w->lstNames->count(); ++i) {
        ListItem* row = w->lstNames->item(i);
        if (names.contains(row->text())) {
            if (names.first() == row->text()) {
                w->lstNames->setCurrentItem(row, 0, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
            row->setSelected(true);
        }
    }
    w->lstNames_ItemClick();
}

inline QStringList AddressBookFixture::names() const {
    QStringList out;
    for (int i = 1; i <= w->lstNames->count(); ++i) {
        out << w->lstNames->item(i)->text();
    }
    return out;
}

inline QStringList AddressBookFixture::phonebookCommands() const {
    QStringList out;
    for (const QString& c : sim->commands()) {
        if (c.startsWith(u"AT+CPB"_s)) {
            out << c;
        }
    }
    return out;
}

inline void AddressBookFixture::fillSim(int count) {
    t->ini().writeINI(kSim + u".State"_s, u"Read"_s, u"1"_s);  // read from the phone before
    for (int i = 1; i <= count; ++i) {
        t->ini().writeINI(kSim, QString::number(i), u"Name%1|%1"_s.arg(i));
    }
}

inline void AddressBookFixture::addToTheSimUnread(const QString& number) {
    open();
    t->msgBox().queueAnswer(MsgBox::No);  // "do you want to read it from the phone now?"
    selectTab(u"SM"_s);
    QTest::keyClicks(w->txtName, u"Eve"_s);
    QTest::keyClicks(w->txtNumber, number);
    QTest::keyClick(w->txtNumber, Qt::Key_Return);
    QCOMPARE(names(), QStringList{u"Eve"_s});
}
