#include "frmBrowse.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>

#include "AppContext.h"
#include "AppIcons.h"
#include "BrowserFileOps.h"
#include "BrowserListing.h"
#include "ColumnFit.h"
#include "GatewayPause.h"
#include "KeyCodes.h"
#include "ListView.h"
#include "MessageFiles.h"
#include "Prompts.h"
#include "TabStrip.h"
#include "Twips.h"
#include "WindowAnchors.h"
#include "frmAddressBook.h"
#include "frmMain.h"
#include "frmSendSMS.h"

namespace {

const QString kWindowName = QStringLiteral("frmBrowse");
const QString kEditor = QStringLiteral("frmEditMsg");
const QString kAddressBook = QStringLiteral("frmAddressBook");
const QString kSection = QStringLiteral("Tellwick");

// Geometry, in twips.
constexpr int kWidthTwips = 9720;
constexpr int kHeightTwips = 5880;
constexpr int kListWidthTwips = 9480;

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                   Twips::toPixels(height));
}

QPushButton* pictureButton(QWidget* parent, const char* name, AppIcons::Picture picture, const QString& tip) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(AppIcons::picture(picture));
    b->setIconSize(QSize(20, 20));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

// Shows a window of the registry modally, centred over the browser (a window of its own, not
// the main window's), and returns when it has closed (or unloaded).
void runModal(QWidget* w, const QWidget* over) {
    if (w->isVisible()) {
        w->hide();  // open beside the main window already: shown again, modally
    }
    w->move(over->frameGeometry().center() - w->rect().center());
    if (auto* dialog = qobject_cast<QDialog*>(w)) {
        dialog->exec();
        return;
    }
    QPointer<QWidget> guard(w);
    QEventLoop loop;
    struct HideWatcher : QObject {
        QEventLoop* loop;
        explicit HideWatcher(QEventLoop* l) : loop(l) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Hide) {
                loop->quit();
            }
            return false;
        }
    } watcher(&loop);
    w->installEventFilter(&watcher);
    QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    if (guard && guard->isVisible()) {
        loop.exec();
    }
    if (guard) {
        guard->removeEventFilter(&watcher);
        guard->setWindowModality(Qt::NonModal);
    }
}

enum class KeyOp { None, Reply, Delete, Move, Refresh, Copy, MarkRead, Edit, Forward, MarkUnread, SendNow };

// The list's key table; shift as KeyCodes gives it (2 = Ctrl).
KeyOp keyOp(int keyCode, int shift) {
    const bool ctrl = shift & 2;
    switch (keyCode) {
        case KeyCodes::Return:
            return KeyOp::Reply;
        case KeyCodes::Delete:
            return KeyOp::Delete;
        case 'M':
            return KeyOp::Move;
        case KeyCodes::F1 + 4:
            return KeyOp::Refresh;
        default:
            break;
    }
    if (!ctrl) {
        return KeyOp::None;
    }
    switch (keyCode) {
        case 'C':
            return KeyOp::Copy;
        case 'D':
            return KeyOp::MarkRead;
        case 'E':
            return KeyOp::Edit;
        case 'F':
            return KeyOp::Forward;
        case 'R':
            return KeyOp::Reply;
        case 'U':
            return KeyOp::MarkUnread;
        case 'S':
            return KeyOp::SendNow;
        default:
            return KeyOp::None;
    }
}

}  // namespace

frmBrowse::frmBrowse(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tellwick: Message Browser"));
    buildControls();
    buildMenu();

    connect(tubby, &TabStrip::TabClick, this, [this](int) { Tubby_Click(); });
    connect(LstMsg2, &ListView::ItemClick, this, [this](ListItem*) { LstMsg2_Click(); });
    connect(LstMsg2, &ListView::DblClick, this, [this](ListItem*) { LstMsg2_DblClick(); });
    connect(LstMsg2, &ListView::KeyDown, this, &frmBrowse::LstMsg2_KeyDown);
    connect(LstMsg2, &ListView::ColumnClick, this, &frmBrowse::LstMsg2_ColumnClick);
    connect(cmdCopy, &QPushButton::clicked, this, &frmBrowse::cmdCopy_Click);
    connect(cmdMove, &QPushButton::clicked, this, &frmBrowse::cmdMove_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmBrowse::cmdDelete_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmBrowse::cmdEdit_Click);
    connect(cmdReply, &QPushButton::clicked, this, &frmBrowse::cmdReply_Click);
    connect(cmdForward, &QPushButton::clicked, this, &frmBrowse::cmdForward_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmBrowse::cmdRefresh_Click);
    connect(Command1, &QPushButton::clicked, this, &frmBrowse::Command1_Click);
    connect(mnuSendNow, &QAction::triggered, this, &frmBrowse::mnuSendNow_Click);
    connect(mnuMarkRead, &QAction::triggered, this, &frmBrowse::mnuMarkRead_Click);
    connect(mnuMarkunRead, &QAction::triggered, this, &frmBrowse::mnuMarkunRead_Click);
    connect(mnuReply, &QAction::triggered, this, &frmBrowse::cmdReply_Click);
    connect(mnuForward, &QAction::triggered, this, &frmBrowse::cmdForward_Click);
    connect(mnuEdit, &QAction::triggered, this, &frmBrowse::cmdEdit_Click);
    connect(mnuAdd, &QAction::triggered, this, &frmBrowse::mnuAdd_Click);
    connect(mnuCopy, &QAction::triggered, this, &frmBrowse::cmdCopy_Click);
    connect(mnuMove, &QAction::triggered, this, &frmBrowse::cmdMove_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmBrowse::cmdDelete_Click);
    connect(mnuRefresh, &QAction::triggered, this, &frmBrowse::cmdRefresh_Click);
    LstMsg2->installEventFilter(this);
    LstMsg2->viewport()->installEventFilter(this);

    formLoad();
}

frmBrowse::~frmBrowse() = default;

void frmBrowse::buildControls() {
    Twips::setWidth(this, kWidthTwips);
    Twips::setHeight(this, kHeightTwips);

    tubby = new TabStrip(this);
    tubby->setObjectName(QStringLiteral("tubby"));
    for (int tab = 1; tab <= BrowserTabs::kCount; ++tab) {
        const BrowserTabs::Texts t = BrowserTabs::texts(tab);
        tubby->addTab1(t.caption);
        tubby->setTabToolTip(tab - 1, t.tooltip);
    }
    place(tubby, 120, 120, kListWidthTwips, 375);

    LstMsg2 = new ListView(this);
    LstMsg2->setObjectName(QStringLiteral("LstMsg2"));
    LstMsg2->setMultiSelect(true);
    LstMsg2->setSorted(true);
    place(LstMsg2, 120, 495, kListWidthTwips, 4080);
    Twips::setWidth(LstMsg2, kListWidthTwips);

    labFileName = new QLabel(this);
    labFileName->setObjectName(QStringLiteral("labFileName"));
    labFileName->setTextFormat(Qt::PlainText);  // a file name may hold anything
    place(labFileName, 120, 4650, kListWidthTwips, 255);

    cmdReply = pictureButton(this, "cmdReply", AppIcons::Picture::Reply,
                             QStringLiteral("Reply to selected message"));
    cmdForward = pictureButton(this, "cmdForward", AppIcons::Picture::Forward,
                               QStringLiteral("Forward selected message"));
    cmdEdit =
        pictureButton(this, "cmdEdit", AppIcons::Picture::Edit, QStringLiteral("Edit selected message"));
    cmdCopy = pictureButton(this, "cmdCopy", AppIcons::Picture::Copy, {});
    cmdMove = pictureButton(this, "cmdMove", AppIcons::Picture::Move, {});
    cmdDelete = pictureButton(this, "cmdDelete", AppIcons::Picture::Delete,
                              QStringLiteral("Delete selected message"));
    cmdRefresh =
        pictureButton(this, "cmdRefresh", AppIcons::Picture::Refresh, QStringLiteral("Refresh message list"));
    int left = 120;
    for (QPushButton* b : {cmdReply, cmdForward, cmdEdit, cmdCopy, cmdMove, cmdDelete, cmdRefresh}) {
        place(b, left, 5040, 540, 480);
        left += 600;
    }
    Command1 = new QPushButton(QStringLiteral("Cl&ose"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    place(Command1, 8160, 5040, 1440, 480);

    // The user may make the window larger: the list grows with it, the buttons keep to the
    // bottom and Close to the right.
    m_anchors = new WindowAnchors(this);
    m_anchors->anchor(tubby, WindowAnchors::GrowWidth);
    m_anchors->anchor(LstMsg2, WindowAnchors::GrowWidth | WindowAnchors::GrowHeight);
    m_anchors->anchor(labFileName, WindowAnchors::GrowWidth | WindowAnchors::MoveDown);
    for (QPushButton* b : {cmdReply, cmdForward, cmdEdit, cmdCopy, cmdMove, cmdDelete, cmdRefresh}) {
        m_anchors->anchor(b, WindowAnchors::MoveDown);
    }
    m_anchors->anchor(Command1, WindowAnchors::MoveRight | WindowAnchors::MoveDown);
}

void frmBrowse::buildMenu() {
    mnuKontext = new QMenu(this);
    mnuKontext->setObjectName(QStringLiteral("mnuKontext"));
    const auto item = [this](QAction*& slot, const char* name, const QString& caption,
                             const QKeySequence& key) {
        slot = mnuKontext->addAction(caption);
        slot->setObjectName(QString::fromLatin1(name));
        // Shown beside the item; the list's own key handling does the work, so each key acts once.
        slot->setShortcut(key);
        slot->setShortcutContext(Qt::WidgetShortcut);
    };
    item(mnuSendNow, "mnuSendNow", QStringLiteral("&Send now!"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSepSend = mnuKontext->addSeparator();
    item(mnuMarkRead, "mnuMarkRead", QStringLiteral("Mark as rea&d"), QKeySequence(Qt::CTRL | Qt::Key_D));
    item(mnuMarkunRead, "mnuMarkunRead", QStringLiteral("Mark as &unread"),
         QKeySequence(Qt::CTRL | Qt::Key_U));
    mnuSepRead = mnuKontext->addSeparator();
    item(mnuReply, "mnuReply", QStringLiteral("R&eply..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    item(mnuForward, "mnuForward", QStringLiteral("&Forward..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    item(mnuEdit, "mnuEdit", QStringLiteral("E&dit..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuKontext->addSeparator();
    item(mnuAdd, "mnuAdd", QStringLiteral("&Add to addressbook..."), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuKontext->addSeparator();
    item(mnuCopy, "mnuCopy", {}, QKeySequence(Qt::CTRL | Qt::Key_C));
    item(mnuMove, "mnuMove", {}, QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuKontext->addSeparator();
    item(mnuDelete, "mnuDelete", QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete));
    mnuKontext->addSeparator();
    item(mnuRefresh, "mnuRefresh", QStringLiteral("Refresh &list"), QKeySequence(Qt::Key_F5));
    mnuSendNow->setVisible(false);
    mnuSepSend->setVisible(false);
}

void frmBrowse::formLoad() {
    frmMain& main = m_ctx.mainWindow();
    setWindowIcon(main.windowIcon());
    if (m_ctx.state().inDir.isEmpty()) {
        m_ctx.getSettings();
    }
    tubby->setSelectedIndex(BrowserTabs::Incoming);
    Tubby_Click();
}

int frmBrowse::selectedTab() const {
    return tubby->selectedIndex();
}

void frmBrowse::Tubby_Click() {
    Hourglass hourglass;
    const int tab = selectedTab();
    showCaptions(tab);
    labFileName->clear();
    for (QPushButton* b : {cmdCopy, cmdMove, cmdForward, cmdDelete, cmdEdit, cmdReply}) {
        b->setEnabled(false);
    }
    LstMsg2->clearColumnHeaderIcons();
    currentFolder = BrowserTabs::folder(m_ctx.state(), tab);
    switch (tab) {
        case BrowserTabs::Incoming:
            listIncomingMsg();
            break;
        case BrowserTabs::Outgoing:
            listOutgoingMessages();
            break;
        case BrowserTabs::Sent:
            listSentMessages();
            break;
        case BrowserTabs::Archive:
            listArchivedMsg();
            break;
        default:
            break;
    }
    LstMsg2->setSortKey(3);
    LstMsg2->setSortOrder(Qt::DescendingOrder);
    LstMsg2->sort();
    LstMsg2->setColumnHeaderIcon(0, m_ctx.mainWindow().lstImages.icon(QStringLiteral("Desc")));
    LstMsg2->setSelectedItem(nullptr);
}

void frmBrowse::showCaptions(int tab) {
    const BrowserTabs::Texts t = BrowserTabs::texts(tab);
    cmdCopy->setToolTip(t.copyTip);
    cmdMove->setToolTip(t.moveTip);
    mnuCopy->setText(t.copyItem);
    mnuMove->setText(t.moveItem);
    const bool marks = tab == BrowserTabs::Incoming || tab == BrowserTabs::Archive;
    mnuMarkRead->setVisible(marks);
    mnuMarkunRead->setVisible(marks);
    mnuSepRead->setVisible(marks);
}

void frmBrowse::listIncomingMsg() {
    fillList(BrowserTabs::Incoming);
}
void frmBrowse::listOutgoingMessages() {
    fillList(BrowserTabs::Outgoing);
}
void frmBrowse::listSentMessages() {
    fillList(BrowserTabs::Sent);
}
void frmBrowse::listArchivedMsg() {
    fillList(BrowserTabs::Archive);
}

void frmBrowse::fillList(int tab) {
    const QString folder = BrowserTabs::folder(m_ctx.state(), tab);
    LstMsg2->setUpdatesEnabled(false);
    LstMsg2->clearItems();
    LstMsg2->clearColumns();
    // From the list's first width: a list that has grown to its texts would widen them again.
    for (const BrowserTabs::Column& c : BrowserTabs::columns(tab, kListWidthTwips)) {
        LstMsg2->addColumn(c.caption, c.widthTwips);
    }
    BrowserListing listing(m_ctx.ini());
    const QList<BrowserLine> lines = listing.list(tab, folder);
    for (const BrowserLine& line : lines) {
        ListItem* item = LstMsg2->addItem(line.column1);
        item->setSubItem(1, line.column2);
        item->setSubItem(2, line.column3);
        item->setSubItem(3, line.serial);
        item->setTag(line.tag);
        item->setToolTipText(line.tip);
        if (line.bold) {
            item->setBold(true);
            item->setSubItemBold(1, true);
            item->setSubItemBold(2, true);
        }
    }
    fitListWidth();
    LstMsg2->setUpdatesEnabled(true);
}

void frmBrowse::fitListWidth() {
    // The widths in twips are where the columns start; a column grows to show its texts whole
    // (a cut text keeps its own "..."), and the window grows with the list. It never shrinks
    // while open, so switching tabs does not make it jump.
    const int width = ColumnFit::windowWidthFor(LstMsg2, this);
    if (width > this->width()) {
        resize(width, height());
        m_anchors->apply();
    }
}

void frmBrowse::LstMsg2_ColumnClick(int column) {
    LstMsg2->clearColumnHeaderIcons();
    const bool ascending = LstMsg2->sortOrder() == Qt::DescendingOrder;
    LstMsg2->setSortKey(column == 0 ? 3 : column);
    LstMsg2->setSortOrder(ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    LstMsg2->sort();
    LstMsg2->setColumnHeaderIcon(column, m_ctx.mainWindow().lstImages.icon(
                                             ascending ? QStringLiteral("Asc") : QStringLiteral("Desc")));
}

void frmBrowse::MakeBold(bool bold) {
    QStringList refused;
    for (ListItem* item : LstMsg2->selectedListItems()) {
        const QString path = currentFolder + u'/' + item->tag();
        if (QFileInfo::exists(path)) {  // gone meanwhile (sent or processed): no stub of it comes back
            const bool stored =
                bold ? m_ctx.ini().deleteINIKey(kSection, QStringLiteral("Read"), path)
                     : m_ctx.ini().writeINI(kSection, QStringLiteral("Read"), QStringLiteral("1"), path);
            if (!stored) {
                refused.append(item->tag());
                continue;  // the line shows what the file says
            }
        }
        item->setBold(bold);
        item->setSubItemBold(1, bold);
        item->setSubItemBold(2, bold);
    }
    if (!refused.isEmpty()) {
        labFileName->setText((bold
                                  ? QStringLiteral("Could not mark as unread (the file cannot be written): ")
                                  : QStringLiteral("Could not mark as read (the file cannot be written): ")) +
                             refused.join(QStringLiteral(", ")));
    }
    LstMsg2->viewport()->update();
}

bool frmBrowse::messageStillThere(const QString& path) {
    if (QFileInfo(path).isFile()) {
        return true;
    }
    m_ctx.msgBox().show(QStringLiteral("The message %1 no longer exists: it was sent, processed, moved or "
                                       "deleted meanwhile.")
                            .arg(QFileInfo(path).fileName()),
                        MsgBox::OKOnly, MsgBox::Exclamation, QStringLiteral("Message not found"), this);
    Tubby_Click();
    return false;
}

ListItem* frmBrowse::currentLine() const {
    return static_cast<ListItem*>(LstMsg2->currentItem());
}

int frmBrowse::selectedCount() const {
    return int(LstMsg2->selectedItems().size());
}

QStringList frmBrowse::selectedTags() const {
    QStringList tags;
    for (const ListItem* item : LstMsg2->selectedListItems()) {
        tags.append(item->tag());
    }
    return tags;
}

void frmBrowse::LstMsg2_Click() {
    ListItem* current = currentLine();
    if (!current) {
        return;
    }
    selectedFile = current->tag();
    labFileName->setText(QStringLiteral("Selected file: ") + currentFolder + u'/' + selectedFile);
    const int n = selectedCount();
    cmdCopy->setEnabled(true);
    cmdMove->setEnabled(true);
    cmdDelete->setEnabled(true);
    const bool one = n == 1;
    for (QPushButton* b : {cmdForward, cmdEdit, cmdReply}) {
        b->setEnabled(one);
    }
    for (QAction* a : {mnuForward, mnuEdit, mnuReply}) {
        a->setEnabled(one);
    }
    // The sender's or recipient's column: on the outgoing tab that is the first one.
    const int numberColumn = BrowserTabs::numberColumn(selectedTab());
    mnuAdd->setEnabled(one && BrowserTabs::isNumber(current->QTreeWidgetItem::text(numberColumn)));
    const bool sendNow = one && LstMsg2->headerItem()->text(0) == QLatin1String("Recipient");
    mnuSendNow->setVisible(sendNow);
    mnuSepSend->setVisible(sendNow);
}

void frmBrowse::LstMsg2_DblClick() {
    MakeBold(false);
    if (currentLine()) {
        cmdEdit_Click();
    }
}

void frmBrowse::LstMsg2_KeyDown(int keyCode, int shift) {
    LstMsg2_Click();
    const bool one = selectedCount() == 1;
    switch (keyOp(keyCode, shift)) {
        case KeyOp::Reply:
            if (one) {
                cmdReply_Click();
            }
            break;
        case KeyOp::Delete:
            cmdDelete_Click();
            break;
        case KeyOp::Move:
            cmdMove_Click();
            break;
        case KeyOp::Refresh:
            cmdRefresh_Click();
            break;
        case KeyOp::Copy:
            cmdCopy_Click();
            break;
        case KeyOp::MarkRead:
            MakeBold(false);
            break;
        case KeyOp::Edit:
            if (one) {
                cmdEdit_Click();
            }
            break;
        case KeyOp::Forward:
            if (one) {
                cmdForward_Click();
            }
            break;
        case KeyOp::MarkUnread:
            MakeBold(true);
            break;
        case KeyOp::SendNow:
            // Only where the menu offers it: one line of the outgoing list.
            if (mnuSendNow->isVisible()) {
                mnuSendNow_Click();
            }
            break;
        case KeyOp::None:
            break;
    }
}

bool frmBrowse::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LstMsg2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = KeyCodes::fromEvent(key);
        const int shift = KeyCodes::shiftState(key->modifiers());
        if (keyOp(code, shift) != KeyOp::None) {
            // Taken before the list sees it, so "M" is no jump to a line beginning with M.
            LstMsg2_KeyDown(code, shift);
            return true;
        }
        // A key the menu shows beside an item does what the menu says (Ctrl+A adds to the
        // address book; it does not select every line).
        const QKeySequence pressed(key->keyCombination());
        for (QAction* a : mnuKontext->actions()) {
            if (a->isVisible() && a->shortcut() == pressed) {
                if (a->isEnabled()) {
                    a->trigger();
                }
                return true;
            }
        }
    } else if (watched == LstMsg2->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            LstMsg2_Click();
            if (currentLine()) {
                mnuKontext->popup(mouse->globalPosition().toPoint());
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBrowse::afterFileOperation(bool refresh) {
    if (refresh) {
        Tubby_Click();
        LstMsg2->setFocus();
    }
}

void frmBrowse::cmdCopy_Click() {
    BrowserFileOps ops(m_ctx, this);
    afterFileOperation(ops.copyOrMove(false, cmdCopy->toolTip(), currentFolder, selectedTags()));
}

void frmBrowse::cmdMove_Click() {
    BrowserFileOps ops(m_ctx, this);
    afterFileOperation(ops.copyOrMove(true, cmdMove->toolTip(), currentFolder, selectedTags()));
}

void frmBrowse::cmdDelete_Click() {
    BrowserFileOps ops(m_ctx, this);
    afterFileOperation(ops.deleteFiles(currentFolder, selectedTags()));
}

void frmBrowse::cmdEdit_Click() {
    if (!messageStillThere(currentFolder + u'/' + selectedFile)) {
        return;
    }
    if (m_ctx.windows().has(kEditor)) {
        if (QWidget* editor = m_ctx.windows().get(kEditor)) {
            editor->setProperty("messageFile", QString(currentFolder + u'/' + selectedFile));
            runModal(editor, this);
        }
    }
    LstMsg2->setFocus();
}

void frmBrowse::cmdReply_Click() {
    const QString path = currentFolder + u'/' + selectedFile;
    if (!messageStillThere(path)) {
        return;
    }
    QScopedValueRollback busy(m_busy, m_busy + 1);
    const GatewayPause pause(m_ctx);
    frmSendSMS::openModal(m_ctx, QStringLiteral("Tellwick: Reply to SMS message"),
                          m_ctx.ini().readINI(kSection, QStringLiteral("No"), path),
                          m_ctx.ini().readINI(kSection, QStringLiteral("Text"), path), this);
    afterCompose();
}

void frmBrowse::afterCompose() {
    MakeBold(false);
    // What the dialog sent or saved lands in the sent or the outgoing folder: shown at once.
    const SharedState& s = m_ctx.state();
    if (currentFolder == s.sentDir || currentFolder == s.outDir) {
        Tubby_Click();
    }
    LstMsg2->setFocus();
}

void frmBrowse::cmdForward_Click() {
    const QString path = currentFolder + u'/' + selectedFile;
    if (!messageStillThere(path)) {
        return;
    }
    QScopedValueRollback busy(m_busy, m_busy + 1);
    const GatewayPause pause(m_ctx);
    frmSendSMS::openModal(m_ctx, QStringLiteral("Tellwick: Forward SMS message"), {},
                          m_ctx.ini().readINI(kSection, QStringLiteral("Text"), path), this);
    afterCompose();
}

void frmBrowse::cmdRefresh_Click() {
    Tubby_Click();
}

void frmBrowse::Command1_Click() {
    unloadMe();
}

void frmBrowse::reject() {
    unloadMe();
}

void frmBrowse::unloadMe() {
    if (m_busy > 0) {
        return;
    }
    QDialog::reject();
    if (m_ctx.windows().existing(kWindowName) == this) {
        m_ctx.windows().unload(kWindowName);
    }
}

void frmBrowse::mnuSendNow_Click() {
    ListItem* current = currentLine();
    if (!current || m_busy > 0 || !messageStillThere(m_ctx.state().outDir + u'/' + current->tag())) {
        return;
    }
    QScopedValueRollback busy(m_busy, m_busy + 1);
    Hourglass hourglass;
    {
        const GatewayPause pause(m_ctx);
        const QString result = MessageFiles::sendSMSFile(m_ctx, m_ctx.state().outDir + u'/' + current->tag());
        hourglass.restore();
        m_ctx.msgBox().show(result, MsgBox::OKOnly, MsgBox::Information,
                            QStringLiteral("Tellwick: Send result"), this);
    }
    Tubby_Click();
}

void frmBrowse::mnuMarkRead_Click() {
    MakeBold(false);
}

void frmBrowse::mnuMarkunRead_Click() {
    MakeBold(true);
}

void frmBrowse::mnuAdd_Click() {
    ListItem* current = currentLine();
    if (!current || !m_ctx.windows().has(kAddressBook)) {
        return;
    }
    const QString number = current->QTreeWidgetItem::text(BrowserTabs::numberColumn(selectedTab()));
    QScopedValueRollback busy(m_busy, m_busy + 1);
    frmAddressBook::openModalWithNumber(m_ctx, number);
    Tubby_Click();
}
