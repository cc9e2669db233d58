#include "frmAddressBook.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppIcons.h"
#include "ListView.h"
#include "TabStrip.h"
#include "Twips.h"
#include "WindowAnchors.h"

// The address book's controls and where they sit.

namespace {

// Geometry in twips.
constexpr int kListLeft = 120;
constexpr int kListWidth = frmAddressBook::listWidthTwips;
constexpr int kButtonsLeft = 5640;
constexpr int kWidthTwips = 6255;
constexpr int kHeightTwips = 7080;

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                   Twips::toPixels(height));
}

QPushButton* button(QWidget* parent, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

void frmAddressBook::buildControls() {
    labBooks = new QLabel(QStringLiteral("Address&books:"), this);
    place(labBooks, kListLeft, 120, 3000, 255);
    Tubby = new TabStrip(this);
    Tubby->setObjectName(QStringLiteral("Tubby"));
    place(Tubby, kListLeft, 390, kListWidth, 360);
    labBooks->setBuddy(Tubby);

    lstNames = new ListView(this);
    lstNames->setObjectName(QStringLiteral("lstNames"));
    lstNames->setMultiSelect(true);
    place(lstNames, kListLeft, 750, kListWidth, 3330);
    // Two lines wide as the window: a progress line such as "250 addresses found in phone
    // memory (reading index 241/250...)" or a failed read's note is never cut.
    labStatus = new QLabel(this);
    labStatus->setWordWrap(true);
    labStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(labStatus, kListLeft, 4140, kButtonsLeft + 450 - kListLeft, 480);

    auto picture = [&](const QString& tip, AppIcons::Picture icon, int row) {
        QPushButton* b = button(this, {});
        b->setIcon(AppIcons::picture(icon));
        b->setIconSize(QSize(20, 20));
        b->setToolTip(tip);
        place(b, kButtonsLeft, 750 + row * 480, 450, 420);
        return b;
    };
    cmdDelete =
        picture(QStringLiteral("Delete addresses from selected phonebook"), AppIcons::Picture::Delete, 0);
    cmdCopy =
        picture(QStringLiteral("Copy selected addresses to another phonebook"), AppIcons::Picture::Copy, 1);
    cmdMove =
        picture(QStringLiteral("Move selected addresses to another phonebook"), AppIcons::Picture::Move, 2);
    cmdRefresh = picture(QStringLiteral("Refresh selected phonebook list (read from phone)"),
                         AppIcons::Picture::Refresh, 3);
    cmdUpdate = picture(QStringLiteral("Update selected phonebook memory (write to phone)"),
                        AppIcons::Picture::Save, 4);
    cmdOutlook =
        picture(QStringLiteral("Import contacts from Microsoft Outlook..."), AppIcons::Picture::Import, 6);
    for (QPushButton* b : {cmdDelete, cmdCopy, cmdMove, cmdRefresh, cmdUpdate}) {
        b->setEnabled(false);
    }

    labName = new QLabel(QStringLiteral("&Name:"), this);
    place(labName, kListLeft, 4710, 2640, 255);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    place(txtName, kListLeft, 4980, 2640, 330);
    labName->setBuddy(txtName);
    LabNumber = new QLabel(QStringLiteral("N&umber:"), this);
    place(LabNumber, kListLeft + 2760, 4710, 2640, 255);
    txtNumber = new QLineEdit(this);
    txtNumber->setObjectName(QStringLiteral("txtNumber"));
    place(txtNumber, kListLeft + 2760, 4980, 2640, 330);
    LabNumber->setBuddy(txtNumber);

    labHint = new QLabel(QStringLiteral("Click on a name to edit an entry, doubleclick to send a message..."),
                         this);
    labHint->setWordWrap(true);
    place(labHint, kListLeft, 5370, kListWidth + 500, 420);
    labChanged = new QLabel(
        QStringLiteral(
            "Please note: All phonebook entries will be saved locally until you press the 'update' button."),
        this);
    labChanged->setWordWrap(true);
    place(labChanged, kListLeft, 5790, kListWidth + 500, 450);
    labChanged->hide();

    cmdAdd = button(this, QStringLiteral("&Add"));
    place(cmdAdd, kListLeft, 6330, 1200, 375);
    cmdAdd->setEnabled(false);
    cmdReplace = button(this, QStringLiteral("&Replace"));
    place(cmdReplace, kListLeft + 1320, 6330, 1200, 375);
    cmdReplace->setEnabled(false);
    cmdAbort = button(this, QStringLiteral("A&bort"));
    place(cmdAbort, kListLeft + 2640, 6330, 1200, 375);
    cmdAbort->hide();
    cmdClose = button(this, QStringLiteral("&Close"));
    place(cmdClose, kButtonsLeft + 450 - 1200, 6330, 1200, 375);  // right edge with the pictures
    cmdClose->setDefault(true);

    // Names and numbers come from the user and the phone: never read as markup.
    for (QLabel* l : {labStatus, labHint, labChanged}) {
        l->setTextFormat(Qt::PlainText);
    }
    setTabOrder(Tubby, lstNames);
    setTabOrder(lstNames, txtName);
    setTabOrder(txtName, txtNumber);
    Twips::setWidth(this, kWidthTwips);
    Twips::setHeight(this, kHeightTwips);

    // The user may make the window larger: the list grows with it, the pictures keep to its
    // right and the rest to the bottom.
    auto* anchors = new WindowAnchors(this);
    anchors->anchor(Tubby, WindowAnchors::GrowWidth);
    anchors->anchor(lstNames, WindowAnchors::GrowWidth | WindowAnchors::GrowHeight);
    for (QPushButton* b : {cmdDelete, cmdCopy, cmdMove, cmdRefresh, cmdUpdate, cmdOutlook}) {
        anchors->anchor(b, WindowAnchors::MoveRight);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{labStatus, labHint, labChanged}) {
        anchors->anchor(w, WindowAnchors::GrowWidth | WindowAnchors::MoveDown);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{labName, txtName, LabNumber, txtNumber, cmdAdd, cmdReplace, cmdAbort}) {
        anchors->anchor(w, WindowAnchors::MoveDown);
    }
    anchors->anchor(cmdClose, WindowAnchors::MoveRight | WindowAnchors::MoveDown);
}
