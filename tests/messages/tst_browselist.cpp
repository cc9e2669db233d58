// The message browser's folder lists: columns, contents, cut texts, names, dates, read
// marks, sorting, and the state every refresh leaves.
#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>

#include <QHeaderView>
#include "AddressBook.h"
#include "BrowseFixture.h"
#include "BrowserListing.h"
#include "MessageDates.h"
#include "MessageFiles.h"
#include "TabStrip.h"
#include "Twips.h"

using namespace Qt::StringLiterals;

class tst_BrowseList : public QObject {
    Q_OBJECT
private slots:
    void init() { f = std::make_unique<BrowseFixture>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*f->t);
        f.reset();
    }

    void opensBesideTheMainWindowAtTheIncomingTab();
    void tabsCaptionsAndTooltips();
    void columnsPerTab_data();
    void columnsPerTab();
    void textsAreCut_data();
    void textsAreCut();
    void cutKeepsAnEmojiWhole_data();
    void cutKeepsAnEmojiWhole();
    void onlyUnreadIncomingIsBold();
    void numbersShowAsNames();
    void datesInIsoAndLocaleTexts();
    void unconvertibleDateIsShownAsStoredAndSortsOldest();
    void sentListDatesFromTheResult();
    void outgoingListInSendingOrder();
    void sortingByColumnHeaders();
    void refreshLeavesNothingSelected();
    void missingFolderGivesEmptyList();

private:
    QString shown(const QString& date, const QString& time) {
        return MessageDates::dateText(QDate::fromString(date, Qt::ISODate)) + u", "_s +
               MessageDates::timeText(QTime::fromString(time, Qt::ISODate));
    }
    frmBrowse* openAt(int tab) {
        frmBrowse* b = f->open();
        b->tubby->setSelectedIndex(tab);
        return b;
    }
    std::unique_ptr<BrowseFixture> f;
};

void tst_BrowseList::opensBesideTheMainWindowAtTheIncomingTab() {
    frmBrowse* b = f->open();
    QVERIFY(b);
    QVERIFY(b->isVisible());
    QVERIFY(!b->isModal());  // the main window stays usable
    QCOMPARE(b->windowTitle(), u"Tellwick: Message Browser"_s);
    QCOMPARE(b->selectedTab(), 1);
    QCOMPARE(b->currentFolder, f->ctx().state().inDir);
    QCOMPARE(b->Command1->text(), u"Cl&ose"_s);

    b->tubby->setSelectedIndex(3);
    b->Command1->click();
    QTRY_VERIFY(!f->browser());
    // The next opening starts at the incoming tab again.
    QCOMPARE(f->open()->selectedTab(), 1);
    // Closing by the frame unloads it as well.
    f->browser()->close();
    QTRY_VERIFY(!f->browser());
}

void tst_BrowseList::tabsCaptionsAndTooltips() {
    frmBrowse* b = f->open();
    const QStringList captions{u"In&coming"_s, u"&Outgoing"_s, u"&Sent"_s, u"&Archive"_s};
    const QStringList tips{u"Show messages in incoming directory"_s, u"Show messages in outgoing directory"_s,
                           u"show sent messages"_s, u"show received and already processed messages"_s};
    const QStringList targets{u"Archive"_s, u"Sent"_s, u"Outgoing"_s, u"Incoming"_s};
    const SharedState& s = f->ctx().state();
    const QStringList folders{s.inDir, s.outDir, s.sentDir, s.arcDir};
    for (int tab = 1; tab <= 4; ++tab) {
        b->tubby->setSelectedIndex(tab);
        const QString target = targets[tab - 1];
        QCOMPARE(b->tubby->tabText(tab - 1), captions[tab - 1]);
        QCOMPARE(b->tubby->tabToolTip(tab - 1), tips[tab - 1]);
        QCOMPARE(b->currentFolder, folders[tab - 1]);
        QCOMPARE(b->cmdCopy->toolTip(), u"Copy selected message(s) to '%1' folder"_s.arg(target));
        QCOMPARE(b->cmdMove->toolTip(), u"Move selected message(s) to '%1' folder"_s.arg(target));
        QCOMPARE(b->mnuCopy->text(), u"&Copy to '%1'"_s.arg(target));
        QCOMPARE(b->mnuMove->text(), u"&Move to '%1'"_s.arg(target));
        const bool marks = tab == 1 || tab == 4;
        QCOMPARE(b->mnuMarkRead->isVisible(), marks);
        QCOMPARE(b->mnuMarkunRead->isVisible(), marks);
        QCOMPARE(b->mnuSepRead->isVisible(), marks);
        QVERIFY(!b->mnuSendNow->isVisible());
    }
    QCOMPARE(b->cmdReply->toolTip(), u"Reply to selected message"_s);
    QCOMPARE(b->cmdEdit->toolTip(), u"Edit selected message"_s);
    QCOMPARE(b->cmdRefresh->toolTip(), u"Refresh message list"_s);
    QCOMPARE(b->cmdDelete->toolTip(), u"Delete selected message"_s);
    QCOMPARE(b->cmdForward->toolTip(), u"Forward selected message"_s);
    // The context menu in its order, with the shortcuts it shows.
    b->tubby->setSelectedIndex(1);
    QStringList items;
    for (QAction* a : b->mnuKontext->actions()) {
        items << (a->isSeparator() ? u"-"_s : a->text() + u' ' + a->shortcut().toString());
    }
    QCOMPARE(items,
             (QStringList{u"&Send now! Ctrl+S"_s, u"-"_s, u"Mark as rea&d Ctrl+D"_s,
                          u"Mark as &unread Ctrl+U"_s, u"-"_s, u"R&eply... Ctrl+R"_s, u"&Forward... Ctrl+F"_s,
                          u"E&dit... Ctrl+E"_s, u"-"_s, u"&Add to addressbook... Ctrl+A"_s, u"-"_s,
                          u"&Copy to 'Archive' Ctrl+C"_s, u"&Move to 'Archive' Ctrl+M"_s, u"-"_s,
                          u"&Delete Del"_s, u"-"_s, u"Refresh &list F5"_s}));
}

void tst_BrowseList::columnsPerTab_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("widths");  // for a list 9000 twips wide
    QTest::newRow("incoming") << 1 << QStringList{u"Date/Time"_s, u"Sender"_s, u"Text"_s, u"Dateserial"_s}
                              << QList<int>{2900, 2800, 3000, 0};
    QTest::newRow("outgoing") << 2 << QStringList{u"Recipient"_s, u"Text"_s, u"dummy"_s, u"Dateserial"_s}
                              << QList<int>{2250, 6450, 0, 0};
    QTest::newRow("sent") << 3 << QStringList{u"Date/Time"_s, u"Recipient"_s, u"Text"_s, u"Dateserial"_s}
                          << QList<int>{2900, 2800, 3000, 0};
    QTest::newRow("archive") << 4 << QStringList{u"Date/Time"_s, u"Sender"_s, u"Text"_s, u"Dateserial"_s}
                             << QList<int>{2900, 2800, 3000, 0};
}

void tst_BrowseList::columnsPerTab() {
    QFETCH(int, tab);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, widths);
    QList<int> computed;
    for (const BrowserTabs::Column& c : BrowserTabs::columns(tab, 9000)) {
        computed << c.widthTwips;
    }
    QCOMPARE(computed, widths);

    // The window sizes them from its list's width.
    frmBrowse* b = openAt(tab);
    const int w = Twips::width(b->LstMsg2);
    QCOMPARE(b->LstMsg2->columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(b->LstMsg2->headerItem()->text(c), captions[c]);
        QCOMPARE(b->LstMsg2->columnWidthTwips(c), BrowserTabs::columns(tab, w)[c].widthTwips);
    }
}

void tst_BrowseList::textsAreCut_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("keptLength");  // characters of the text kept before "..."; -1 whole
    QTest::newRow("incoming 33 whole") << 1 << 33 << -1;
    QTest::newRow("incoming 34 cut") << 1 << 34 << 30;
    QTest::newRow("archive 34 cut") << 4 << 34 << 30;
    QTest::newRow("sent 34 cut") << 3 << 34 << 30;
    QTest::newRow("outgoing 53 whole") << 2 << 53 << -1;
    QTest::newRow("outgoing 54 cut") << 2 << 54 << 50;
    QTest::newRow("empty") << 1 << 0 << -1;
}

void tst_BrowseList::textsAreCut() {
    QFETCH(int, tab);
    QFETCH(int, length);
    QFETCH(int, keptLength);
    QString text;
    for (int i = 0; i < length; ++i) {
        text += QChar(u'a' + i % 26);
    }
    const QString folder = QStringList{u"In"_s, u"Out"_s, u"Sent"_s, u"Arc"_s}[tab - 1];
    f->message(folder, u"m.sms"_s,
               {u"[Tellwick]"_s, u"No=+4911"_s, u"Text="_s + text, u"Date=2026-01-02"_s, u"Time=03:04:05"_s,
                u"[Job Result]"_s, u"Date=2026-01-02"_s, u"Time=03:04:06"_s});
    frmBrowse* b = openAt(tab);
    QCOMPARE(b->LstMsg2->count(), 1);
    const ListItem* item = b->LstMsg2->item(1);
    const QString expected = keptLength < 0 ? text : text.left(keptLength) + u"..."_s;
    const int textColumn = tab == 2 ? 1 : 2;
    QCOMPARE(item->subItem(textColumn), expected);
    QCOMPARE(item->toolTipText(), expected);
    QCOMPARE(item->tag(), u"m.sms"_s);
}

void tst_BrowseList::cutKeepsAnEmojiWhole_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString e = u"\U0001F600"_s;  // two UTF-16 units
    const QString x29 = QString(29, u'x');
    QTest::newRow("cut would halve it") << 1 << x29 + e + u"yyy"_s << x29 + u"..."_s;
    QTest::newRow("cut line ends in it") << 3 << x29.chopped(1) + e + u"yyyy"_s << x29.chopped(1) + e + u"..."_s;
    QTest::newRow("text ends in it, fits") << 4 << QString(31, u'x') + e << QString(31, u'x') + e;
    QTest::newRow("outgoing cut would halve it") << 2 << QString(49, u'x') + e + u"yyy"_s << QString(49, u'x') + u"..."_s;
}

void tst_BrowseList::cutKeepsAnEmojiWhole() {
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString folder = QStringList{u"In"_s, u"Out"_s, u"Sent"_s, u"Arc"_s}[tab - 1];
    f->message(folder, u"m.sms"_s,
               {u"[Tellwick]"_s, u"No=+4911"_s, u"Text="_s + text, u"Date=2026-01-02"_s, u"Time=03:04:05"_s,
                u"[Job Result]"_s, u"Date=2026-01-02"_s, u"Time=03:04:06"_s});
    const ListItem* item = openAt(tab)->LstMsg2->item(1);
    QCOMPARE(item->subItem(tab == 2 ? 1 : 2), expected);
    QCOMPARE(item->toolTipText(), expected);
}

void tst_BrowseList::onlyUnreadIncomingIsBold() {
    const QStringList reads{QString(), u""_s, u"0"_s, u"yes"_s, u"1"_s};
    for (int i = 0; i < reads.size(); ++i) {
        const QString name = u"r%1.sms"_s.arg(i);
        f->incoming(name, u"2026-01-0%1"_s.arg(i + 1), u"10:00:00"_s, u"+49"_s, u"t"_s, reads[i]);
        QFile::copy(f->path(u"In"_s, name), f->path(u"Out"_s, name));
        QFile::copy(f->path(u"In"_s, name), f->path(u"Sent"_s, name));
        QFile::copy(f->path(u"In"_s, name), f->path(u"Arc"_s, name));
    }
    frmBrowse* b = f->open();
    for (int i = 0; i < reads.size(); ++i) {
        const ListItem* item = f->line(b->LstMsg2, u"r%1.sms"_s.arg(i));
        const bool unread = i < 4;  // only exactly "1" is read
        QCOMPARE(item->bold(), unread);
        QCOMPARE(item->subItemBold(1), unread);
        QCOMPARE(item->subItemBold(2), unread);
    }
    for (int tab = 2; tab <= 4; ++tab) {
        b->tubby->setSelectedIndex(tab);
        QCOMPARE(b->LstMsg2->count(), reads.size());
        for (int i = 1; i <= b->LstMsg2->count(); ++i) {
            QVERIFY(!b->LstMsg2->item(i)->bold());
            QVERIFY(!b->LstMsg2->item(i)->subItemBold(1));
        }
    }
}

void tst_BrowseList::numbersShowAsNames() {
    f->t->writeFile(u"tellwick.ini"_s, "[Addressbook]\nAnna=+4911\nBen=+4922\nanna=+4933\nCopy=+4911\n");
    f->incoming(u"a.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+4911"_s, u"x"_s);
    f->incoming(u"b.sms"_s, u"2026-01-02"_s, u"10:00:00"_s, u"+4999"_s, u"x"_s);
    f->message(u"Out"_s, u"two.sms"_s, {u"[Tellwick]"_s, u"No=+4911;+4922"_s, u"Text=x"_s});
    f->message(u"Out"_s, u"one.sms"_s, {u"[Tellwick]"_s, u"No=+4922"_s, u"Text=x"_s});
    frmBrowse* b = f->open();
    QCOMPARE(f->line(b->LstMsg2, u"a.sms"_s)->subItem(1), u"Anna"_s);
    QCOMPARE(f->line(b->LstMsg2, u"b.sms"_s)->subItem(1), u"+4999"_s);
    b->tubby->setSelectedIndex(2);
    QCOMPARE(f->line(b->LstMsg2, u"two.sms"_s)->text(), u"+4911;+4922"_s);  // looked up whole
    QCOMPARE(f->line(b->LstMsg2, u"one.sms"_s)->text(), u"Ben"_s);

    // The listing's one-pass look-up gives what the address book's own look-up gives.
    BrowserListing listing(f->ctx().ini());
    for (const QString& list : {u"+4911"_s, u"+4933"_s, u"+4911,+4922"_s, u" +4922 , x"_s, u"+4911;+4922"_s,
                                u""_s, u","_s, u"+4911,"_s}) {
        QCOMPARE(listing.names(list), AddressBook::numbersToNames(f->ctx().ini(), u"SMS"_s, list));
    }
}

void tst_BrowseList::datesInIsoAndLocaleTexts() {
    const QLocale locale = QLocale::system();
    const QDate date(2026, 12, 7);
    const QTime time(14, 5, 9);
    f->incoming(u"iso.sms"_s, u"2026-12-07"_s, u"14:05:09"_s, u"+1"_s, u"x"_s);
    // The locale's short texts, as a file written by hand may hold them.
    f->incoming(u"loc.sms"_s, locale.toString(date, QLocale::ShortFormat),
                locale.toString(time, QLocale::ShortFormat), u"+1"_s, u"x"_s);
    f->incoming(u"old.sms"_s, u"2026-12-06"_s, u"23:59:59"_s, u"+1"_s, u"x"_s);
    frmBrowse* b = f->open();
    const ListItem* iso = f->line(b->LstMsg2, u"iso.sms"_s);
    QCOMPARE(iso->text(), shown(u"2026-12-07"_s, u"14:05:09"_s));
    QCOMPARE(iso->subItem(3), u"20261207140509"_s);
    const ListItem* loc = f->line(b->LstMsg2, u"loc.sms"_s);
    QCOMPARE(loc->subItem(3).left(12), u"202612071405"_s);
    QCOMPARE(f->line(b->LstMsg2, u"old.sms"_s)->subItem(3), u"20261206235959"_s);
    QCOMPARE(f->tags(b->LstMsg2).last(), u"old.sms"_s);

    QCOMPARE(MessageDates::serial(u"2024-02-29"_s, u"07:08"_s), u"20240229070800"_s);
}

void tst_BrowseList::unconvertibleDateIsShownAsStoredAndSortsOldest() {
    // A line never borrows the date of the file listed before it.
    f->incoming(u"good.sms"_s, u"2026-03-04"_s, u"05:06:07"_s, u"+1"_s, u"x"_s);
    f->incoming(u"bad.sms"_s, u"soon"_s, u"25:99"_s, u"+1"_s, u"x"_s);
    f->incoming(u"none.sms"_s, u""_s, u""_s, u"+1"_s, u"x"_s);
    f->message(u"In"_s, u"bare.sms"_s, {u"[Tellwick]"_s});
    frmBrowse* b = f->open();
    QCOMPARE(b->LstMsg2->count(), 4);
    const ListItem* bad = f->line(b->LstMsg2, u"bad.sms"_s);
    QCOMPARE(bad->text(), u"soon, 25:99"_s);
    QCOMPARE(bad->subItem(3), u"18991230000000"_s);
    QCOMPARE(f->line(b->LstMsg2, u"none.sms"_s)->text(), QString());
    const ListItem* bare = f->line(b->LstMsg2, u"bare.sms"_s);
    QCOMPARE(bare->subItem(1), QString());
    QCOMPARE(bare->subItem(2), QString());
    QCOMPARE(f->tags(b->LstMsg2).first(), u"good.sms"_s);
}

void tst_BrowseList::sentListDatesFromTheResult() {
    f->message(u"Sent"_s, u"s1.sms"_s,
               {u"[Tellwick]"_s, u"No=+4911"_s, u"Text=hello"_s, u"Date=2020-01-01"_s, u"Time=00:00:00"_s,
                u"[Job Result]"_s, u"Date=2026-05-06"_s, u"Time=07:08:09"_s, u"Result=OK"_s});
    f->message(u"Sent"_s, u"s2.sms"_s,
               {u"[Tellwick]"_s, u"No=+4922"_s, u"Text=later"_s, u"[Job Result]"_s, u"Date=2026-05-07"_s,
                u"Time=07:08:09"_s});
    frmBrowse* b = openAt(3);
    QCOMPARE(f->tags(b->LstMsg2), (QStringList{u"s2.sms"_s, u"s1.sms"_s}));
    const ListItem* s1 = f->line(b->LstMsg2, u"s1.sms"_s);
    QCOMPARE(s1->text(), shown(u"2026-05-06"_s, u"07:08:09"_s));
    QCOMPARE(s1->subItem(1), u"+4911"_s);
    QCOMPARE(s1->subItem(2), u"hello"_s);
}

void tst_BrowseList::outgoingListInSendingOrder() {
    // Three messages written one after the other, the middle one split in two parts.
    f->ctx().getSettings();
    QStringList expected;
    for (const char* number : {"+4911", "+4922", "+4933"}) {
        const QString paths = MessageFiles::createSMSFile(f->ctx(), {}, QString::fromLatin1(number),
                                                          QString(number[4] == '2' ? 300 : 5, u'x'), false,
                                                          false, true, true, false);
        QVERIFY(!paths.isEmpty());
        QStringList parts = paths.split(u',');
        std::reverse(parts.begin(), parts.end());  // part 1 goes first
        for (const QString& p : parts) {
            expected << QFileInfo(p).fileName();
        }
    }
    frmBrowse* b = openAt(2);
    QStringList sending;
    for (const QString& p : MessageFiles::outgoingFilesInOrder(f->ctx().state().outDir)) {
        sending << QFileInfo(p).fileName();
    }
    QCOMPARE(f->tags(b->LstMsg2), sending);
    QCOMPARE(b->LstMsg2->item(1)->subItem(3), u"18991230000000"_s);
    QCOMPARE(b->LstMsg2->item(1)->subItem(2), QString());  // the dummy column
}

void tst_BrowseList::sortingByColumnHeaders() {
    f->t->writeFile(u"tellwick.ini"_s, "[Addressbook]\nzed=+4911\n");
    f->incoming(u"mid.sms"_s, u"2026-02-01"_s, u"12:00:00"_s, u"+4911"_s, u"b"_s);
    f->incoming(u"new.sms"_s, u"2026-02-01"_s, u"12:00:01"_s, u"Anna"_s, u"c"_s);
    f->incoming(u"old.sms"_s, u"2025-12-31"_s, u"23:00:00"_s, u"+4999"_s, u"a"_s);
    frmBrowse* b = f->open();
    ListView* list = b->LstMsg2;
    const ImageList& images = f->ctx().mainWindow().lstImages;
    const auto iconIs = [&](int column, const char* key) {
        const QIcon icon = list->columnHeaderIcon(column);
        return key ? icon.cacheKey() == images.icon(QString::fromLatin1(key)).cacheKey() : icon.isNull();
    };
    QCOMPARE(f->tags(list), (QStringList{u"new.sms"_s, u"mid.sms"_s, u"old.sms"_s}));
    QVERIFY(iconIs(0, "Desc"));

    // Column 1 sorts by time; the direction toggles on every click.
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(0) + 5, 5));
    QCOMPARE(f->tags(list), (QStringList{u"old.sms"_s, u"mid.sms"_s, u"new.sms"_s}));
    QVERIFY(iconIs(0, "Asc"));
    b->LstMsg2_ColumnClick(0);
    QCOMPARE(f->tags(list), (QStringList{u"new.sms"_s, u"mid.sms"_s, u"old.sms"_s}));
    QVERIFY(iconIs(0, "Desc"));

    // Column 2 right after a refresh: ascending by the shown names, case-insensitive.
    b->Tubby_Click();
    b->LstMsg2_ColumnClick(1);
    QCOMPARE(f->tags(list), (QStringList{u"old.sms"_s, u"new.sms"_s, u"mid.sms"_s}));  // +4999, Anna, zed
    QVERIFY(iconIs(1, "Asc"));
    QVERIFY(iconIs(0, nullptr));
    b->LstMsg2_ColumnClick(2);  // the direction toggles whatever column is clicked
    QCOMPARE(f->tags(list), (QStringList{u"new.sms"_s, u"mid.sms"_s, u"old.sms"_s}));
    QVERIFY(iconIs(2, "Desc"));
    QVERIFY(iconIs(1, nullptr));
}

void tst_BrowseList::refreshLeavesNothingSelected() {
    f->incoming(u"only.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+4911"_s, u"x"_s);
    frmBrowse* b = f->open();
    const QList<QPushButton*> six{b->cmdCopy,   b->cmdMove, b->cmdForward,
                                  b->cmdDelete, b->cmdEdit, b->cmdReply};
    const auto check = [&] {
        QVERIFY(b->LstMsg2->selectedListItems().isEmpty());
        QVERIFY(!b->LstMsg2->currentItem());
        QVERIFY(b->labFileName->text().isEmpty());
        for (QPushButton* button : six) {
            QVERIFY(!button->isEnabled());
        }
        QVERIFY(b->cmdRefresh->isEnabled());
        QVERIFY(b->Command1->isEnabled());
    };
    check();
    f->click(b, u"only.sms"_s);
    QCOMPARE(b->labFileName->text(), u"Selected file: "_s + f->ctx().state().inDir + u"/only.sms"_s);
    for (QPushButton* button : six) {
        QVERIFY(button->isEnabled());
    }
    QTest::keyClick(b->LstMsg2, Qt::Key_F5);
    check();
    b->cmdRefresh->click();
    check();
    // A click beside the lines, with no current line, changes nothing.
    QTest::mouseClick(b->LstMsg2->viewport(), Qt::LeftButton, {},
                      QPoint(5, b->LstMsg2->viewport()->height() - 5));
    check();
}

void tst_BrowseList::missingFolderGivesEmptyList() {
    QDir(f->ctx().state().sentDir).removeRecursively();
    frmBrowse* b = openAt(3);
    QCOMPARE(b->LstMsg2->count(), 0);
    QCOMPARE(b->LstMsg2->columnCount(), 4);
    QCOMPARE(b->LstMsg2->headerItem()->text(1), u"Recipient"_s);
    // Files of other kinds are no messages.
    f->message(u"In"_s, u"note.txt"_s, {u"[Tellwick]"_s, u"No=1"_s});
    f->message(u"In"_s, u"UPPER.SMS"_s, {u"[Tellwick]"_s, u"No=1"_s});
    b->tubby->setSelectedIndex(1);
    QCOMPARE(f->tags(b->LstMsg2), QStringList{u"UPPER.SMS"_s});
}

QTEST_MAIN(tst_BrowseList)
#include "tst_browselist.moc"
