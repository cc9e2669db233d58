#pragma once

#include <QHash>
#include <QList>
#include <QString>

class IniStore;
struct SharedState;

// What the message browser shows per folder tab, and the listing of one folder's message
// files as lines, kept apart from the window so it can be checked without one.
namespace BrowserTabs {

enum Tab { Incoming = 1, Outgoing = 2, Sent = 3, Archive = 4 };
constexpr int kCount = 4;

struct Texts {
    QString caption;   // the tab's caption
    QString tooltip;   // the tab's tooltip
    QString copyTip;   // cmdCopy's tooltip
    QString moveTip;   // cmdMove's tooltip
    QString copyItem;  // mnuCopy's caption
    QString moveItem;  // mnuMove's caption
};
// Tab 1 to 4; an empty set for any other number.
Texts texts(int tab);

// The tab's folder.
QString folder(const SharedState& state, int tab);

struct Column {
    QString caption;
    int widthTwips = 0;
};
// The four columns of a tab for a list listWidth twips wide.
QList<Column> columns(int tab, int listWidthTwips);

// The folder named between the first two apostrophes of a copy or move tooltip
// ("Sent", "Incoming", "Outgoing", "Archive"); "" when it names none.
QString targetFolder(const SharedState& state, const QString& tooltip);

// The index of the column that shows a line's number (sender or recipient): 0 on the
// outgoing tab, 1 on the others.
int numberColumn(int tab);

// Whether a shown text is a phone number: digits, with one "+" in front at most.
bool isNumber(const QString& text);

}  // namespace BrowserTabs

// One list line: the file name as its tag, three shown columns, the hidden sort serial, the
// tooltip and whether it is shown bold (unread incoming message).
struct BrowserLine {
    QString tag;
    QString column1;
    QString column2;
    QString column3;
    QString serial;
    QString tip;
    bool bold = false;
};

// Reads a folder's message files into lines. Numbers are shown by their names in the local
// address book, which is read once per listing, so thousands of files list quickly.
class BrowserListing {
public:
    explicit BrowserListing(const IniStore& ini);

    // The lines of the tab's folder, in the order the file system lists the files (the
    // outgoing folder in sending order).
    QList<BrowserLine> list(int tab, const QString& folder);

    // A number list with each ","-separated number that the local address book holds
    // replaced by its name (a ";"-separated list is looked up whole).
    QString names(const QString& numbers);

    // A text longer than limit shows as its first limit - 3 characters and "..." (whole
    // characters: an emoji that the cut would halve is left out).
    static QString cut(const QString& text, int limit);

private:
    void loadNames();

    const IniStore& m_ini;
    bool m_namesLoaded = false;
    QHash<QString, QString> m_nameOf;  // number -> name, the first entry in file order
};
