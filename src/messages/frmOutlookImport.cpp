#include "frmOutlookImport.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <utility>

#include "AppContext.h"
#include "ColumnFit.h"
#include "ListView.h"
#include "Twips.h"
#include "frmMain.h"

namespace {

const QString kWindowName = QStringLiteral("frmOutlookImport");
const QString kAddressbook = QStringLiteral("Addressbook");
const QString kBoxTitle = QStringLiteral("Tellwick: Outlook contacts import");
const QString kNotFound = QStringLiteral("Outlook was not found on your system");

// Read errors shown in one box; the rest are only counted.
constexpr int kErrorsShown = 10;
// A name longer than this many characters scrolls into view instead of widening the list.
constexpr int kMostCharacters = 60;

QPushButton* button(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    Twips::setGeometry(b, left, top, width, 375);
    return b;
}

}  // namespace

frmOutlookImport::frmOutlookImport(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tellwick: Import Outlook contacts"));
    setModal(true);
    buildControls();

    connect(cmdRead, &QPushButton::clicked, this, &frmOutlookImport::cmdRead_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmOutlookImport::cmdImport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmOutlookImport::cmdClose_Click);
    // A click anywhere in the list, and a selection made with the keyboard.
    lstContacts->viewport()->installEventFilter(this);
    connect(lstContacts, &QTreeWidget::itemSelectionChanged, this, &frmOutlookImport::lstContacts_Click);

    formLoad();
}

frmOutlookImport::~frmOutlookImport() = default;

const QStringList& frmOutlookImport::fieldTexts() {
    static const QStringList texts{
        QStringLiteral("Mobile phone number"), QStringLiteral("1st Home phone number"),
        QStringLiteral("2nd Home phone number"), QStringLiteral("1st Business phone number"),
        QStringLiteral("2nd Business phone number")};
    return texts;
}

const QStringList& frmOutlookImport::fieldProperties() {
    static const QStringList names{
        QStringLiteral("MobileTelephoneNumber"), QStringLiteral("HomeTelephoneNumber"),
        QStringLiteral("Home2TelephoneNumber"), QStringLiteral("BusinessTelephoneNumber"),
        QStringLiteral("Business2TelephoneNumber")};
    return names;
}

void frmOutlookImport::buildControls() {
    Label1 = new QLabel(QStringLiteral("Field containing mobile phone number:"), this);
    Twips::setGeometry(Label1, 120, 120, 3600, 255);
    lstFields = new QListWidget(this);
    lstFields->setObjectName(QStringLiteral("lstFields"));
    Twips::setGeometry(lstFields, 120, 405, 3600, 1320);
    cmdRead = button(this, QStringLiteral("&Read contacts..."), 120, 1830, 3600);

    Label2 = new QLabel(
        QStringLiteral(
            "To import contacts from Outlook, select the contact's field to search for mobile phone "
            "numbers, then click 'Read contacts'. After Tellwick read the list from your Outlook "
            "contacts, select all entries (use SHIFT or CTRL to select multiple entries) you want "
            "to import, then click 'Import'."),
        this);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::setGeometry(Label2, 120, 2340, 3600, 2040);

    lstContacts = new ListView(this);
    lstContacts->setObjectName(QStringLiteral("lstContacts"));
    lstContacts->setMultiSelect(true);
    Twips::setGeometry(lstContacts, 3840, 120, 3540, 3840);
    labNumContacts = new QLabel(this);
    Twips::setGeometry(labNumContacts, 3840, 4020, 3540, 255);

    cmdImport = button(this, QStringLiteral("&Import"), 3840, 4380, 1695);
    cmdClose = button(this, QStringLiteral("&Close"), 5685, 4380, 1695);

    // Which folder is read: the whole path, however long, in a box that scrolls.
    labFolder = new QLabel(QStringLiteral("Contacts folder:"), this);
    Twips::setGeometry(labFolder, 120, 4905, 1300, 300);
    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    txtFolder->setReadOnly(true);
    Twips::setGeometry(txtFolder, 1440, 4875, 5940, 330);
    // A font wider than the design's widens the label; the box beside it gives up the room.
    const int labelGrow = labFolder->sizeHint().width() - labFolder->width();
    if (labelGrow > 0) {
        labFolder->resize(labFolder->width() + labelGrow, labFolder->height());
        txtFolder->setGeometry(txtFolder->x() + labelGrow, txtFolder->y(), txtFolder->width() - labelGrow,
                               txtFolder->height());
    }

    for (QLabel* l : {Label1, Label2, labNumContacts, labFolder}) {
        l->setTextFormat(Qt::PlainText);
    }
    Twips::setWidth(this, 7500);
    Twips::setHeight(this, 5325);
    setFixedSize(size());
}

void frmOutlookImport::formLoad() {
    setWindowIcon(m_ctx.mainWindow().windowIcon());
    txtFolder->setText(contactsFolder(m_ctx));
    txtFolder->setCursorPosition(0);

    QString error;
    if (!ContactsSource(contactsFolder(m_ctx)).isAvailable(&error)) {
        if (m_ctx.state().debugMode) {
            m_ctx.log().writeLog(QStringLiteral("Error creating Outlook namespace: ") + error, true);
        }
        cmdRead->setEnabled(false);
        cmdImport->setEnabled(false);
        lstFields->setEnabled(false);
        lstContacts->setEnabled(false);
        labNumContacts->setText(kNotFound);
    }

    lstFields->addItems(fieldTexts());
    lstFields->setCurrentRow(0);

    lstContacts->clearColumns();
    lstContacts->addColumn(QStringLiteral("Full Name"), 1500);
    lstContacts->addColumn(QStringLiteral("Mobile phone no."), 1700);
    fitList();
    cmdImport->setEnabled(false);
}

void frmOutlookImport::fitList() {
    // The columns start at their widths in twips and grow to show their headings, names and
    // numbers whole; the list and the window widen with them and never shrink while open.
    const int most = lstContacts->fontMetrics().averageCharWidth() * kMostCharacters;
    ColumnFit::growWindowWithList(lstContacts, this, {labNumContacts, txtFolder}, {cmdClose}, most);
}

QString frmOutlookImport::contactsFolder(AppContext& ctx) {
    return ContactsSource::folderFor(
        ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("ContactsFolder")), ctx.programFolder());
}

bool frmOutlookImport::isOutlookAvailable(AppContext& ctx) {
    return ContactsSource(contactsFolder(ctx)).isAvailable();
}

QString frmOutlookImport::cleanName(const QString& fullName) {
    QString name = fullName;
    name.remove(u',');
    return name.trimmed();
}

QString frmOutlookImport::cleanNumber(const QString& number) {
    QString n = number;
    n.remove(u' ').remove(u'(').remove(u')').remove(u'-');
    return n.trimmed();
}

void frmOutlookImport::cmdRead_Click() {
    if (m_reading) {
        return;
    }
    lstContacts->clearItems();
    cmdImport->setEnabled(false);
    Hourglass hourglass;
    labNumContacts->clear();
    int count = 0;
    getOutlookContacts(count);
    labNumContacts->setText(QStringLiteral("%1 contacts found.").arg(count));
    fitList();
    hourglass.restore();
    reportReadErrors(std::exchange(m_readErrors, {}));
}

bool frmOutlookImport::getOutlookContacts(int& count) {
    count = 0;
    m_reading = true;
    cmdRead->setEnabled(false);
    const ContactsSource::Result source = ContactsSource(contactsFolder(m_ctx)).read();
    doEvents();

    const int field = std::max(0, lstFields->currentRow());
    const QString property = fieldProperties().value(field);
    for (const Contact& contact : source.contacts) {
        doEvents();
        if (m_stopReading) {
            break;  // the window was closed meanwhile
        }
        // Only numbers count: a value of blanks, brackets and dashes alone gives no row.
        const QString number = cleanNumber(contact.property(property));
        if (number.isEmpty()) {
            continue;
        }
        ++count;
        labNumContacts->setText(QStringLiteral("%1 contacts found").arg(count));
        ListItem* item = lstContacts->addItem(cleanName(contact.fullName));
        item->setSubItem(1, number);
        doEvents();
    }
    if (source.available && !m_stopReading && m_ctx.state().debugMode) {
        m_ctx.log().writeLog(QStringLiteral("Connecting to Outlook: %1 contacts found.").arg(count), true);
    }
    m_readErrors = m_stopReading ? QStringList() : source.errors;
    m_reading = false;
    m_stopReading = false;
    cmdRead->setEnabled(true);
    return source.available;
}

void frmOutlookImport::reportReadErrors(const QStringList& errors) {
    if (errors.isEmpty()) {
        return;
    }
    if (m_ctx.state().debugMode) {
        for (const QString& e : errors) {
            m_ctx.log().writeLog(QStringLiteral("Error reading contacts: ") + e, true);
        }
    }
    QString text = QStringLiteral("Some contacts could not be read:\r\n\r\n") +
                   errors.mid(0, kErrorsShown).join(QStringLiteral("\r\n"));
    if (errors.size() > kErrorsShown) {
        text += QStringLiteral("\r\n(%1 more)").arg(errors.size() - kErrorsShown);
    }
    m_ctx.msgBox().show(text, MsgBox::OKOnly, MsgBox::Critical, kBoxTitle, this);
}

void frmOutlookImport::lstContacts_Click() {
    if (m_reading) {
        return;
    }
    cmdImport->setEnabled(lstContacts->count() > 0);
}

void frmOutlookImport::cmdImport_Click() {
    if (m_importing || m_reading) {
        return;
    }
    IniStore& ini = m_ctx.ini();
    m_importing = true;
    m_stopImport = false;
    cmdImport->setEnabled(false);
    cmdRead->setEnabled(false);
    const QString countText = labNumContacts->text();
    int count = 0;
    int selected = 0;
    for (int i = 1; i <= lstContacts->count(); ++i) {
        selected += lstContacts->item(i)->isSelected() ? 1 : 0;
    }
    int visited = 0;
    QList<std::pair<QString, QString>> batch;
    QSet<QString> known;  // names stored and batched, as the settings file compares keys
    for (const QString& key : ini.keys(kAddressbook)) {
        known.insert(key.trimmed().toCaseFolded());
    }
    for (int i = 1; i <= lstContacts->count() && !m_stopImport; ++i) {
        const ListItem* item = lstContacts->item(i);
        if (!item->isSelected()) {
            continue;
        }
        ++visited;
        const QString name = item->text();
        const QString number = item->subItem(1);
        // A name the settings file cannot hold as a key (empty, with "=", beginning with "["
        // or ";") is reported, not counted.
        if (!IniStore::isValidKey(name)) {
            m_ctx.msgBox().show(
                QStringLiteral("The contact '%1' could not be stored in the addressbook.").arg(name),
                MsgBox::OKOnly, MsgBox::Critical, kBoxTitle, this);
            continue;
        }
        // Asked about the key the contact is stored under, whatever number it holds.
        const QString folded = name.trimmed().toCaseFolded();
        if (known.contains(folded)) {
            const int answer = m_ctx.msgBox().show(
                QStringLiteral("The name '%1' already exists, do you want to overwrite it?").arg(name),
                MsgBox::YesNo, MsgBox::Question, QStringLiteral("Overwrite existing entry"), this);
            if (answer != MsgBox::Yes) {
                continue;
            }
        }
        known.insert(folded);
        batch.append({name, number});
        if (batch.size() >= importBatch) {
            storeBatch(batch, count);
            labNumContacts->setText(QStringLiteral("Importing %1/%2 contacts...").arg(visited).arg(selected));
            doEvents();  // the progress shows and the window answers
        }
    }
    storeBatch(batch, count);
    labNumContacts->setText(countText);
    m_importing = false;
    cmdRead->setEnabled(true);
    lstContacts_Click();
    emit importFinished();
    m_ctx.msgBox().show(QStringLiteral("%1 contacts successfully imported.").arg(count), MsgBox::OKOnly,
                        MsgBox::Information, kBoxTitle, this);
}

// Stored first, listed only once stored.
bool frmOutlookImport::storeBatch(QList<std::pair<QString, QString>>& batch, int& count) {
    if (batch.isEmpty()) {
        return true;
    }
    bool ok = m_ctx.ini().writeINIValues(kAddressbook, batch);
    if (ok) {
        for (const auto& [name, number] : batch) {
            emit rowImported(name, number);
        }
        count += int(batch.size());
    } else {
        m_ctx.msgBox().show(
            QStringLiteral("%1 contacts could not be stored in the addressbook.").arg(batch.size()),
            MsgBox::OKOnly, MsgBox::Critical, kBoxTitle, this);
    }
    batch.clear();
    return ok;
}

void frmOutlookImport::cmdClose_Click() {
    m_stopReading = m_reading;
    m_stopImport = m_importing;  // what is stored stays stored and counted
    done(QDialog::Accepted);
}

void frmOutlookImport::reject() {
    cmdClose_Click();
}

void frmOutlookImport::openModal(AppContext& ctx, ListView* addressList, std::function<void()> refresh) {
    auto* window = ctx.windows().get<frmOutlookImport>(kWindowName);
    if (!window) {
        return;
    }
    wire(window, addressList, std::move(refresh));
    window->exec();
    if (ctx.windows().existing(kWindowName) == window) {
        ctx.windows().unload(kWindowName);
    }
}

void frmOutlookImport::wire(frmOutlookImport* window, ListView* addressList, std::function<void()> refresh) {
    if (addressList) {
        connect(window, &frmOutlookImport::rowImported, addressList,
                [addressList](const QString& name, const QString& number) {
                    addressList->addItem(name)->setSubItem(1, number);
                });
    }
    if (refresh) {
        connect(window, &frmOutlookImport::importFinished, window, std::move(refresh));
    }
}

bool frmOutlookImport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstContacts->viewport() && event->type() == QEvent::MouseButtonRelease) {
        lstContacts_Click();
    }
    return false;
}
