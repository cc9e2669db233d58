// The controls of the mailbox job editor: their layout and their tooltips.
#include "frmJobMailbox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ListView.h"
#include "TabStrip.h"
#include "Twips.h"

namespace {
constexpr int kBoxWidthTwips = 3000;
constexpr int kNumberBoxWidthTwips = 600;
constexpr int kOptionsWidthTwips = 7200;
constexpr int kPictureButtonPixels = 20;

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// The small picture of the buttons that open the criteria editor: a list with a pen.
QIcon listEditIcon() {
    QPixmap pixmap(kPictureButtonPixels, kPictureButtonPixels);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 12, 15);
    for (int y = 5; y <= 14; y += 3) {
        p.drawLine(4, y, 12, y);
    }
    p.setPen(QPen(QColor(30, 90, 200), 2));
    p.drawLine(11, 18, 18, 8);
    return QIcon(pixmap);
}

QPushButton* withListPicture(QPushButton* b) {
    b->setIcon(listEditIcon());
    b->setIconSize(QSize(kPictureButtonPixels, kPictureButtonPixels));
    b->setFixedSize(kPictureButtonPixels + 8, kPictureButtonPixels + 8);
    return b;
}

}  // namespace

void frmJobMailbox::makeMailboxSettings() {
    Frame2 = new QGroupBox(QStringLiteral("Mailbox settings:"), optionsArea());
    Label6 =
        wrappedLabel(QStringLiteral("Enter access information for the mailbox you want to check:"), Frame2);
    Label7 = new QLabel(QStringLiteral("POP&3 servername or IP address:"), Frame2);
    txtMailserver = new QLineEdit(Frame2);
    Label10 = new QLabel(QStringLiteral("Po&rt:"), Frame2);
    txtPort = new QLineEdit(Frame2);
    Label8 = new QLabel(QStringLiteral("&Username:"), Frame2);
    txtUsername = new QLineEdit(Frame2);
    Label9 = new QLabel(QStringLiteral("Pass&word:"), Frame2);
    txtPassword = new QLineEdit(Frame2);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    cmdTest = commandButton(QStringLiteral("&Test..."), Frame2);
    Label7->setBuddy(txtMailserver);
    Label10->setBuddy(txtPort);
    Label8->setBuddy(txtUsername);
    Label9->setBuddy(txtPassword);
    txtMailserver->setMinimumWidth(Twips::toPixels(kBoxWidthTwips));
    txtPort->setMaximumWidth(Twips::toPixels(kNumberBoxWidthTwips * 2));

    auto* layout = new QGridLayout(Frame2);
    layout->addWidget(Label6, 0, 0, 1, 2);
    layout->addWidget(Label7, 1, 0, 1, 2);
    layout->addWidget(txtMailserver, 2, 0, 1, 2);
    layout->addWidget(Label10, 3, 0);
    layout->addWidget(txtPort, 3, 1, Qt::AlignLeft);
    layout->addWidget(Label8, 4, 0);
    layout->addWidget(txtUsername, 4, 1);
    layout->addWidget(Label9, 5, 0);
    layout->addWidget(txtPassword, 5, 1);
    layout->addWidget(cmdTest, 6, 1, Qt::AlignRight);
    layout->setRowStretch(7, 1);
}

void frmJobMailbox::makeJobOptions() {
    Frame3 = new QGroupBox(QStringLiteral("Job options: "), sideArea());
    Frame3->setMinimumWidth(Twips::toPixels(kOptionsWidthTwips));
    Label14 = wrappedLabel(
        QStringLiteral(
            "This job can do two things: First, it can query the above mailbox and send notification SMS "
            "messages on new mail, mail from certain senders or with certain keywords in the subject. "
            "Second, you can request particular messages from this mailbox by SMS and get the message text "
            "send back to your cellphone."),
        Frame3);
    txtRecipient =
        labelledBox(Label4, QStringLiteral("&Send all SMS messages to this/these number(s):"), Frame3);
    tubby = new TabStrip(Frame3);
    tubby->addTab1(QStringLiteral("Notification"));
    tubby->addTab1(QStringLiteral("Message request"));
    tubby->setExpanding(false);

    makeNotificationTab();
    makeRequestTab();

    auto* layout = new QVBoxLayout(Frame3);
    layout->addWidget(Label14);
    layout->addWidget(Label4);
    layout->addWidget(txtRecipient);
    layout->addWidget(tubby);
    layout->addWidget(FraNotification, 1);
    layout->addWidget(FraRequest, 1);
}

void frmJobMailbox::makeNotificationTab() {
    FraNotification = new QGroupBox(Frame3);
    // The interval belongs to the notifications; the request tab hides it with them.
    Label11 = new QLabel(QStringLiteral("Check this &mailbox every"), FraNotification);
    txtIntervall = new QLineEdit(FraNotification);
    txtIntervall->setFixedWidth(Twips::toPixels(kNumberBoxWidthTwips));
    Label11->setBuddy(txtIntervall);
    optMinutes = new QRadioButton(QStringLiteral("minutes"), FraNotification);
    optHours = new QRadioButton(QStringLiteral("hours"), FraNotification);
    m_unitGroup = new QButtonGroup(this);
    m_unitGroup->addButton(optMinutes);
    m_unitGroup->addButton(optHours);
    Label3 = new QLabel(QStringLiteral("Send a SMS notification on this event:"), FraNotification);
    optNewMail = new QRadioButton(QStringLiteral("All new mail in mail&box"), FraNotification);
    optCriteria = new QRadioButton(QStringLiteral("mess&age meets one of these criterias:"), FraNotification);
    m_eventGroup = new QButtonGroup(this);
    m_eventGroup->addButton(optNewMail);
    m_eventGroup->addButton(optCriteria);
    lstCriteria = new ListView(FraNotification);
    cmdCriteria = withListPicture(commandButton(QString(), FraNotification));
    Label12 = wrappedLabel(
        QStringLiteral(
            "You may also set up exceptions. If one of the exception is found, Tellwick won't send a "
            "notification. This way, you can -for example- send notifications on new mail, but not from "
            "certain senders or with certain keywords in the subject."),
        FraNotification);
    chkException = new QCheckBox(
        QStringLiteral("Don't send a notification if one if these exceptions is met:"), FraNotification);
    lstException = new ListView(FraNotification);
    cmdException = withListPicture(commandButton(QString(), FraNotification));
    // Other windows find the two lists by these names.
    lstCriteria->setObjectName(QStringLiteral("lstCriteria"));
    lstException->setObjectName(QStringLiteral("lstException"));
    // A header and three rows; the window grows with the rows' text, not with the lists.
    const int listHeight = lstCriteria->fontMetrics().height() * 5 + 8;
    for (ListView* list : {lstCriteria, lstException}) {
        list->setRootIsDecorated(false);
        list->setFixedHeight(listHeight);
    }

    auto* interval = new QHBoxLayout;
    interval->addWidget(Label11);
    interval->addWidget(txtIntervall);
    interval->addWidget(optMinutes);
    interval->addWidget(optHours);
    interval->addStretch(1);

    auto* layout = new QGridLayout(FraNotification);
    layout->addLayout(interval, 0, 0, 1, 2);
    layout->addWidget(Label3, 1, 0, 1, 2);
    layout->addWidget(optNewMail, 2, 0, 1, 2);
    layout->addWidget(optCriteria, 3, 0, 1, 2);
    layout->addWidget(lstCriteria, 4, 0);
    layout->addWidget(cmdCriteria, 4, 1, Qt::AlignTop);
    layout->addWidget(Label12, 5, 0, 1, 2);
    layout->addWidget(chkException, 6, 0, 1, 2);
    layout->addWidget(lstException, 7, 0);
    layout->addWidget(cmdException, 7, 1, Qt::AlignTop);
}

void frmJobMailbox::makeRequestTab() {
    FraRequest = new QGroupBox(Frame3);
    Label13 = wrappedLabel(
        QStringLiteral(
            "Upon request, this job can send a particular eMail message from your inbox by SMS. Do "
            "you want to allow this?"),
        FraRequest);
    chkRequest =
        new QCheckBox(QStringLiteral("Allow requesting particular eMail messages by SMS"), FraRequest);
    labRequest1 = wrappedLabel(
        QStringLiteral("Since the message text could be quite long, you can limit the max. no. of SMS "
                       "messages to return:"),
        FraRequest);
    labRequest2 = new QLabel(QStringLiteral("Send ma&x."), FraRequest);
    txtMaxMsg = new QLineEdit(FraRequest);
    txtMaxMsg->setFixedWidth(Twips::toPixels(kNumberBoxWidthTwips));
    labRequest2->setBuddy(txtMaxMsg);
    labRequest3 = new QLabel(QStringLiteral("SMS messages in return"), FraRequest);
    labRequest4 = wrappedLabel(
        QStringLiteral(
            "(You can override this limit by sending the maximum number of messages with your request)"),
        FraRequest);
    chkStripHTML = new QCheckBox(QStringLiteral("Strip HTM&L code from message text"), FraRequest);

    auto* limit = new QHBoxLayout;
    limit->addWidget(labRequest2);
    limit->addWidget(txtMaxMsg);
    limit->addWidget(labRequest3);
    limit->addStretch(1);
    auto* layout = new QVBoxLayout(FraRequest);
    layout->addWidget(Label13);
    layout->addWidget(chkRequest);
    layout->addWidget(labRequest1);
    layout->addLayout(limit);
    layout->addWidget(labRequest4);
    layout->addWidget(chkStripHTML);
    layout->addStretch(1);
}

void frmJobMailbox::ownToolTips() {
    const QString unitTip = QStringLiteral("Select the measurement of your interval settings");
    const QList<QPair<QWidget*, QString>> tips = {
        {txtMailserver,
         QStringLiteral("Enter the name or IP address of the mailserver hosting the mailbox you want to be "
                        "checked by this job.")},
        {txtPort, QStringLiteral(
                      "Enter the port number the mailserver is listening on. The default POP3 port is 110.")},
        {txtUsername, QStringLiteral("Enter the username to access this mailbox")},
        {txtPassword, QStringLiteral("Enter the password to access this mailbox")},
        {cmdTest, QStringLiteral("Click here to test your mailbox settings")},
        {txtIntervall, QStringLiteral("Enter the interval to check the mailbox for this job")},
        {optMinutes, unitTip},
        {optHours, unitTip},
        {optNewMail,
         QStringLiteral("Choose this option if you want to send a SMS notification whenever new mail arrives "
                        "in the mailbox for this job.")},
        {optCriteria,
         QStringLiteral("Choose this option if you want to get a notification by SMS if mail from specific "
                        "senders or with certain keywords in the subject arrive in this mailbox.")},
        {lstCriteria,
         QStringLiteral("Set up your criterias for incoming mail here.Click the button to the right to edit "
                        "your criteria list.")},
        {chkException,
         QStringLiteral("Check this option to use the exception list below. Criterias in the exception list "
                        "will prevent notifications, for example if you want to be notified on new mail, but "
                        "not for spam or ad messages.")},
        {lstException,
         QStringLiteral(
             "Set up your exception list here.Click the button to the right to edit your exception "
             "list.")},
        {chkRequest,
         QStringLiteral(
             "Check this option, if you want to allow message request from this job.If checked, you "
             "may send an SMS request (see example below) and this job will get a message from the "
             "mailbox and send it by SMS back to the sender.")},
        {txtMaxMsg,
         QStringLiteral(
             "The number you enter here will be the limit of SMS messages to be send back in return "
             "to a message request. Since eMail messages can be quite long, Tellwick will "
             "automatically split up the message text and send it with multiple SMS messages. "
             "Please note: This default limit can be changed by a value send by the request SMS "
             "(see example below).")},
        {chkStripHTML,
         QStringLiteral("Check this option if you want to strip HTML code from the message text before it is "
                        "send by SMS.")},
        {txtRecipient,
         QStringLiteral("Enter the phone number(s) to send SMS notifications to here. Seperate multiple "
                        "numbers by commas. PLEASE NOTE: Only this/these number/s will be allowed to request "
                        "eMail messages by SMS.")},
    };
    for (const auto& [control, text] : tips) {
        setToolTip(control, text);
    }
}
