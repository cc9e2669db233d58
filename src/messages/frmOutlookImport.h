#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "Contacts.h"

class AppContext;
class ListView;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The contacts import: lists the contacts of the contacts source ([Settings] ContactsFolder,
// a folder of vCard files) that have a number in one chosen phone field, and writes the
// selected ones into the local address book ([Addressbook], key = name, value = number),
// asking before it overwrites a name that is already there.
//
// How the address book uses it:
//   cmdOutlook->setEnabled(frmOutlookImport::isOutlookAvailable(ctx));   // local store only
//   frmOutlookImport::openModal(ctx, lstNames, [this] { Tubby_Click(); });
// Every imported row is added to lstNames (text = name, sub-item 1 = number) as it is
// stored; after the last row the refresh runs, before the closing box. The same through
// the signals rowImported and importFinished, for an opener that wires them itself.
class frmOutlookImport : public QDialog {
    Q_OBJECT
public:
    explicit frmOutlookImport(AppContext& ctx, QWidget* parent = nullptr);
    ~frmOutlookImport() override;

    // Whether the contacts source can be read (its folder exists).
    static bool isOutlookAvailable(AppContext& ctx);
    // The folder the contacts are read from.
    static QString contactsFolder(AppContext& ctx);

    // A fresh window, modal, filling addressList and calling refresh as above.
    static void openModal(AppContext& ctx, ListView* addressList, std::function<void()> refresh);

    // The phone fields, in list order: shown text and the property read.
    static const QStringList& fieldTexts();
    static const QStringList& fieldProperties();

    QLabel* Label1 = nullptr;
    QListWidget* lstFields = nullptr;
    QPushButton* cmdRead = nullptr;
    ListView* lstContacts = nullptr;
    QLabel* labNumContacts = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* labFolder = nullptr;
    QLineEdit* txtFolder = nullptr;  // the folder the contacts are read from, read-only

    // Rows imported are stored in batches of this many, each in one write of the settings
    // file, with the progress shown and the message loop let run between them.
    static constexpr int importBatch = 500;
    // Connects a window to the address book's list and refresh, as openModal does.
    static void wire(frmOutlookImport* window, ListView* addressList, std::function<void()> refresh);

    // Reads the contacts of the chosen field into lstContacts; count gets their number.
    // False when the source could not be read at all. Files that could not be read are
    // reported by cmdRead_Click afterwards.
    bool getOutlookContacts(int& count);

    // The cleaned forms of a name and a number as they are listed and stored.
    static QString cleanName(const QString& fullName);
    static QString cleanNumber(const QString& number);

    // Handlers.
    void cmdRead_Click();
    void cmdImport_Click();
    void cmdClose_Click();
    void lstContacts_Click();

    void reject() override;

signals:
    void rowImported(const QString& name, const QString& number);
    void importFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void formLoad();
    void fitList();
    void reportReadErrors(const QStringList& errors);

    AppContext& m_ctx;
    bool storeBatch(QList<std::pair<QString, QString>>& batch, int& count);

    bool m_reading = false;
    bool m_stopReading = false;
    bool m_importing = false;
    bool m_stopImport = false;
    QStringList m_readErrors;  // of the last read, reported once the pointer is back
};
