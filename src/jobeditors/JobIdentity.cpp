#include "JobIdentity.h"

#include <QStringList>

#include "AppContext.h"
#include "IniStore.h"
#include "JobTypes.h"
#include "MsgBox.h"

namespace JobIdentity {

namespace {
const QString kCRLF = QStringLiteral("\r\n");
constexpr int kPlaceholders = 10;
}  // namespace

QString editCaption(int typeIndex) {
    return QStringLiteral("Tellwick: Edit ") + jobTypeName(typeIndex) + QStringLiteral(" job");
}

bool isKeyOfType(const QString& key, int typeIndex) {
    const QString letter = jobTypeLetter(typeIndex);
    if (!key.startsWith(letter)) {
        return false;
    }
    const QString digits = key.mid(letter.size());
    bool isNumber = false;
    const int n = digits.toInt(&isNumber);
    return isNumber && n >= 1 && n <= maxJobsPerType && QString::number(n) == digits;
}

QString standardIdentifier(const QString& jobKey) {
    return u'>' + jobKey + u'<';
}

QString captionSuffix(const QString& identifier, int jobNumber) {
    return identifier.isEmpty() ? QStringLiteral(" [DEFAULT JOB]")
                                : QStringLiteral(" [") + QString::number(jobNumber) + u']';
}

bool isValid(const QString& identifier) {
    return !identifier.contains(u',') && !identifier.contains(u'#') && !identifier.contains(u'*');
}

void refuse(MsgBox& msgBox, QWidget* parent) {
    msgBox.show(QStringLiteral("You can't use '*' or '#' or commas in your identifier for a job."),
                MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Invalid identifier"), parent);
}

bool settleClash(AppContext& ctx, const QString& identifier, const QString& ownKey, QWidget* parent,
                 std::function<bool()>* change) {
    *change = [] { return true; };
    const QString found = findJobByIdent(ctx.ini(), identifier);
    if (found.isEmpty()) {
        return true;
    }
    // "<name>,<key>": the name may hold commas, the key is after the last one.
    const int comma = int(found.lastIndexOf(u','));
    const QString otherKey = found.mid(comma + 1);
    const QString otherName = found.left(comma);
    if (otherKey == ownKey) {
        return true;
    }
    if (!identifier.isEmpty()) {
        ctx.msgBox().show(QStringLiteral("The job '") + otherName + u'\'' + kCRLF +
                              QStringLiteral("already uses this identifier, please change it."),
                          MsgBox::OKOnly, MsgBox::Critical, QStringLiteral("Job identifier not unique"),
                          parent);
        return false;
    }
    const int answer = ctx.msgBox().show(
        QStringLiteral("You already have a default job that doesn't need an identifier.") + kCRLF +
            QStringLiteral("Do you want to give this job a new (standard) identifier?") + kCRLF + kCRLF +
            QStringLiteral("(If you choose no, the old default job will be deleted!)"),
        MsgBox::YesNoCancel, MsgBox::Question, QStringLiteral("Default job already exists"), parent);
    IniStore& ini = ctx.ini();
    if (answer == MsgBox::Yes) {
        *change = [&ini, otherKey] {
            return ini.writeINI(jobSection(otherKey), QStringLiteral("Identification"),
                                standardIdentifier(otherKey));
        };
        return true;
    }
    if (answer == MsgBox::No) {
        *change = [&ini, otherKey] { return ini.deleteINISection(jobSection(otherKey)); };
        return true;
    }
    return false;
}

QString placeholderList(const QString& text, const QString& prefix) {
    QStringList found;
    for (int i = 1; i <= kPlaceholders; ++i) {
        // "<#1>" is not found inside "<#10>": the closing ">" must follow the digit.
        if (text.contains(QStringLiteral("<#") + QString::number(i) + u'>')) {
            found.append(prefix + QString::number(i));
        }
    }
    return found.join(u';');
}

}  // namespace JobIdentity
