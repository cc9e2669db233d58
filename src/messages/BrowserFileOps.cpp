#include "BrowserFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "AppContext.h"
#include "BrowserListing.h"
#include "IniStore.h"
#include "ProgramFolder.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Whether two paths name the same file (the same folder configured twice). Names are compared
// as the file system compares them: "a.sms" and "A.SMS" are two files here.
bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

}  // namespace

BrowserFileOps::BrowserFileOps(AppContext& ctx, QWidget* owner) : m_ctx(ctx), m_owner(owner) {}

bool BrowserFileOps::copyFile(const QString& source, const QString& target, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = in.errorString();
        }
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        if (error) {
            *error = in.errorString();
        }
        return false;
    }
    return IniStore::writeFile(target, bytes, error);
}

bool BrowserFileOps::copyOrMove(bool move, const QString& tooltip, const QString& folder,
                                const QStringList& tags) {
    MsgBox& box = m_ctx.msgBox();
    const QString target = BrowserTabs::targetFolder(m_ctx.state(), tooltip);
    const QString title =
        move ? QStringLiteral("Move SMS message(s)") : QStringLiteral("Copy SMS message(s)");
    if (box.show(tooltip + kCrLf + target + u'?', MsgBox::YesNo, MsgBox::Question, title, m_owner) !=
        MsgBox::Yes) {
        return false;
    }
    if (!target.isEmpty()) {
        ProgramFolder::ensure(target);
    }
    for (const QString& tag : tags) {
        const QString source = folder + u'/' + tag;
        const QString dest = target + u'/' + tag;
        if (target.isEmpty() || sameFile(source, dest)) {
            continue;  // already where it should go: a move must not delete it
        }
        if (QFileInfo::exists(dest)) {
            const int answer =
                box.show(tag + kCrLf + QStringLiteral(" already exists, overwrite it?"), MsgBox::YesNoCancel,
                         MsgBox::Question, QStringLiteral("Overwrite existing file"), m_owner);
            if (answer == MsgBox::Cancel) {
                break;
            }
            if (answer != MsgBox::Yes) {
                continue;
            }
        }
        bool ok = false;
        QString why;
        if (move && !QFileInfo::exists(dest)) {
            ok = QFile::rename(source, dest);
        }
        if (!ok) {
            ok = copyFile(source, dest, &why);
            if (ok && move && !QFile::remove(source)) {
                box.show(QStringLiteral("Could not delete message file ") + source, MsgBox::OKOnly,
                         MsgBox::Information, QStringLiteral("Error deleting message"), m_owner);
            }
        }
        if (!ok) {
            const QString what = move ? QStringLiteral("move") : QStringLiteral("copy");
            m_ctx.log().writeLog(
                QStringLiteral("ERROR: could not %1 %2 to %3: %4").arg(what, source, target, why));
            box.show(QStringLiteral("Could not %1 message file %2 to %3: %4").arg(what, source, target, why),
                     MsgBox::OKOnly, MsgBox::Information,
                     move ? QStringLiteral("Error moving message") : QStringLiteral("Error copying message"),
                     m_owner);
        }
    }
    return true;
}

bool BrowserFileOps::deleteFiles(const QString& folder, const QStringList& tags) {
    MsgBox& box = m_ctx.msgBox();
    if (box.show(QStringLiteral("Do you really want to delete selected message(s)?"), MsgBox::YesNo,
                 MsgBox::Question, QStringLiteral("Delete message(s)"), m_owner) != MsgBox::Yes) {
        return false;
    }
    for (const QString& tag : tags) {
        const QString path = folder + u'/' + tag;
        if (!QFile::remove(path)) {
            box.show(QStringLiteral("Could not delete message file ") + path, MsgBox::OKOnly,
                     MsgBox::Information, QStringLiteral("Error deleting message"), m_owner);
        }
    }
    return true;
}
