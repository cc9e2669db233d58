#include "BrowserListing.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cmath>

#include "Fields.h"
#include "IniStore.h"
#include "MessageDates.h"
#include "MessageFiles.h"
#include "SharedState.h"
#include "TextCut.h"

namespace BrowserTabs {

Texts texts(int tab) {
    const auto target = [](const char* word) {
        const QString w = QString::fromLatin1(word);
        return Texts{{},
                     {},
                     QStringLiteral("Copy selected message(s) to '%1' folder").arg(w),
                     QStringLiteral("Move selected message(s) to '%1' folder").arg(w),
                     QStringLiteral("&Copy to '%1'").arg(w),
                     QStringLiteral("&Move to '%1'").arg(w)};
    };
    Texts t;
    switch (tab) {
        case Incoming:
            t = target("Archive");
            t.caption = QStringLiteral("In&coming");
            t.tooltip = QStringLiteral("Show messages in incoming directory");
            break;
        case Outgoing:
            t = target("Sent");
            t.caption = QStringLiteral("&Outgoing");
            t.tooltip = QStringLiteral("Show messages in outgoing directory");
            break;
        case Sent:
            t = target("Outgoing");
            t.caption = QStringLiteral("&Sent");
            t.tooltip = QStringLiteral("show sent messages");
            break;
        case Archive:
            t = target("Incoming");
            t.caption = QStringLiteral("&Archive");
            t.tooltip = QStringLiteral("show received and already processed messages");
            break;
        default:
            break;
    }
    return t;
}

QString folder(const SharedState& state, int tab) {
    switch (tab) {
        case Incoming:
            return state.inDir;
        case Outgoing:
            return state.outDir;
        case Sent:
            return state.sentDir;
        case Archive:
            return state.arcDir;
        default:
            return {};
    }
}

QList<Column> columns(int tab, int listWidthTwips) {
    const double w = listWidthTwips;
    const auto twips = [](double value) { return int(std::lround(value)); };
    const QString serial = QStringLiteral("Dateserial");
    if (tab == Outgoing) {
        return {{QStringLiteral("Recipient"), twips(w / 4)},
                {QStringLiteral("Text"), twips(3 * (w / 4) - 300)},
                {QStringLiteral("dummy"), 0},
                {serial, 0}};
    }
    if (tab < Incoming || tab > Archive) {
        return {};
    }
    return {{QStringLiteral("Date/Time"), twips(w / 3 - 100)},
            {tab == Sent ? QStringLiteral("Recipient") : QStringLiteral("Sender"), twips(w / 3 - 200)},
            {QStringLiteral("Text"), twips(w / 3)},
            {serial, 0}};
}

QString targetFolder(const SharedState& state, const QString& tooltip) {
    const QString word = tooltip.section(u'\'', 1, 1);
    if (word == QLatin1String("Sent"))
        return state.sentDir;
    if (word == QLatin1String("Incoming"))
        return state.inDir;
    if (word == QLatin1String("Outgoing"))
        return state.outDir;
    if (word == QLatin1String("Archive"))
        return state.arcDir;
    return {};
}

int numberColumn(int tab) {
    return tab == Outgoing ? 0 : 1;
}

bool isNumber(const QString& text) {
    const QString t = text.trimmed();
    const int start = t.startsWith(u'+') ? 1 : 0;
    if (t.size() <= start) {
        return false;
    }
    for (int i = start; i < t.size(); ++i) {
        if (!t.at(i).isDigit()) {
            return false;
        }
    }
    return true;
}

}  // namespace BrowserTabs

BrowserListing::BrowserListing(const IniStore& ini) : m_ini(ini) {}

QString BrowserListing::cut(const QString& text, int limit) {
    return TextCut::elided(text, limit);
}

void BrowserListing::loadNames() {
    m_namesLoaded = true;
    m_nameOf.clear();
    const QString section = QStringLiteral("Addressbook");
    for (const QString& name : m_ini.keys(section)) {
        const QString number = m_ini.readINI(section, name);
        if (!m_nameOf.contains(number)) {
            m_nameOf.insert(number, name);
        }
    }
}

QString BrowserListing::names(const QString& numbers) {
    if (numbers.isEmpty()) {
        return {};
    }
    if (!m_namesLoaded) {
        loadNames();
    }
    QStringList out;
    for (const QString& raw : numbers.split(u',')) {
        out.append(m_nameOf.value(raw.trimmed(), raw));
    }
    return out.join(u',');
}

QList<BrowserLine> BrowserListing::list(int tab, const QString& folder) {
    using namespace BrowserTabs;
    loadNames();  // the address book as it is now

    QStringList files;
    if (tab == Outgoing) {
        for (const QString& path : MessageFiles::outgoingFilesInOrder(folder)) {
            files.append(QFileInfo(path).fileName());
        }
    } else if (!folder.isEmpty()) {
        files = QDir(folder).entryList({QStringLiteral("*.sms")}, QDir::Files, QDir::NoSort);
    }

    // Every value a line needs, read in one look at its file.
    const QString sec = QString::fromLatin1(MessageFiles::kSection);
    const QString dateSection = tab == Sent ? QString::fromLatin1(MessageFiles::kResultSection) : sec;
    enum { No, Text, Date, Time, Read };
    QList<std::pair<QString, QString>> wanted{{sec, QStringLiteral("No")}, {sec, QStringLiteral("Text")}};
    if (tab != Outgoing) {
        wanted.append({dateSection, QStringLiteral("Date")});
        wanted.append({dateSection, QStringLiteral("Time")});
    }
    if (tab == Incoming) {
        wanted.append({sec, QStringLiteral("Read")});
    }
    const MessageDates::Converter dates;
    const QString zeroSerial = MessageDates::zeroSerial();

    QList<BrowserLine> lines;
    lines.reserve(files.size());
    for (const QString& name : std::as_const(files)) {
        const QStringList v = m_ini.readINIValues(wanted, folder + u'/' + name);
        BrowserLine line;
        line.tag = name;
        const QString no = names(v[No]);
        if (tab == Outgoing) {
            line.column1 = no;
            line.column2 = cut(v[Text], 53);
            line.tip = line.column2;
            line.serial = zeroSerial;
        } else {
            MessageDates::Converter::Shown when = dates.shown(v[Date], v[Time]);
            line.column1 = std::move(when.text);
            line.column2 = no;
            line.column3 = cut(v[Text], 33);
            line.tip = line.column3;
            line.serial = std::move(when.serial);
            if (tab == Incoming) {
                line.bold = !isFlagSet(v[Read]);
            }
        }
        lines.append(std::move(line));
    }
    return lines;
}
