#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>

#include "ListView.h"
#include "MessagesWindows.h"
#include "TestContext.h"
#include "frmBrowse.h"
#include "frmMain.h"

// A program folder with message files written as raw text, and the browser on it.
struct BrowseFixture {
    std::unique_ptr<TestContext> t = std::make_unique<TestContext>();

    AppContext& ctx() { return t->ctx(); }

    BrowseFixture() {
        registerMessagesWindows(ctx().windows());
        ctx().getSettings();
    }

    // Writes "<folder>/<name>" (folder "In", "Out", "Sent" or "Arc") with the given lines.
    void message(const QString& folder, const QString& name, const QStringList& lines) {
        t->writeFile(folder + u'/' + name, lines.join(u'\n').toUtf8() + '\n');
    }
    // An incoming message as the receive cycle writes it.
    void incoming(const QString& name, const QString& date, const QString& time, const QString& no,
                  const QString& text, const QString& read = {}) {
        QStringList lines{QStringLiteral("[Tellwick]"), QStringLiteral("Date=") + date,
                          QStringLiteral("Time=") + time, QStringLiteral("No=") + no,
                          QStringLiteral("Text=") + text};
        if (!read.isNull()) {
            lines << QStringLiteral("Read=") + read;
        }
        message(QStringLiteral("In"), name, lines);
    }
    QString path(const QString& folder, const QString& name) const { return t->path(folder + u'/' + name); }
    bool exists(const QString& folder, const QString& name) const {
        return QFileInfo::exists(path(folder, name));
    }

    // The browser, opened the way the main window opens it.
    frmBrowse* open() {
        ctx().mainWindow().mnuBrowse_Click();
        return browser();
    }
    frmBrowse* browser() {
        return qobject_cast<frmBrowse*>(ctx().windows().existing(QStringLiteral("frmBrowse")));
    }

    // The tags of the list as shown, top to bottom.
    static QStringList tags(const ListView* list) {
        QStringList out;
        for (int i = 1; i <= list->count(); ++i) {
            out << list->item(i)->tag();
        }
        return out;
    }
    static ListItem* line(const ListView* list, const QString& tag) { return list->findItemByTag(tag); }
    // Selects the lines with these tags, the last one the current line, and runs the
    // selection handling as a click does.
    static void select(frmBrowse* b, const QStringList& selected) {
        ListView* list = b->LstMsg2;
        list->clearSelection();
        for (const QString& tag : selected) {
            list->findItemByTag(tag)->setSelected(true);
        }
        if (!selected.isEmpty()) {
            list->setCurrentItem(list->findItemByTag(selected.last()), 0, QItemSelectionModel::NoUpdate);
        }
        b->LstMsg2_Click();
    }
    // A real mouse click on a line (with modifiers, e.g. Ctrl to add it to the selection).
    static void click(frmBrowse* b, const QString& tag, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ListView* list = b->LstMsg2;
        const QRect r = list->visualItemRect(list->findItemByTag(tag));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
    }
};
