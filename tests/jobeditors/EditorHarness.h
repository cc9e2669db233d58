#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

#include "IniStore.h"
#include "JobEditorWindows.h"
#include "ModalDriver.h"
#include "JobTypes.h"
#include "ListView.h"
#include "TestContext.h"
#include "frmJobNew.h"
#include "frmJobs.h"

// A type name as a template argument: EditorHarness<frmJobForward, 'f', 0, "forward">.
template <std::size_t N>
struct HarnessName {
    constexpr HarnessName(const char (&text)[N]) { std::copy_n(text, N, chars); }
    QString toString() const { return QString::fromLatin1(chars, N - 1); }
    char chars[N];
};

// What the tests of one job editor share: a fresh program folder for every test function,
// the keys of a stored job, jobs stored with the keys a test starts from, and editors opened
// on an existing job or on a new one, as the job list and the new-job chooser open them.
//
// The test class derives from QObject and from this, and calls startTest() in init() and
// endTest() in cleanup().
template <class Editor, char Letter, int Type, HarnessName Name>
class EditorHarness {
public:
    using Keys = QList<std::pair<QString, QString>>;
    // The keys a stored job starts with after its Type, in this order.
    using Head = std::function<Keys(const QString& job)>;

    static QString firstJob() { return QString(QChar::fromLatin1(Letter)) + QLatin1Char('1'); }
    static QString editCaption() {
        return QStringLiteral("Tellwick: Edit ") + Name.toString() + QStringLiteral(" job");
    }
    static QString newCaption() {
        return QStringLiteral("Tellwick: New ") + Name.toString() + QStringLiteral(" job");
    }

protected:
    explicit EditorHarness(Head head = {}) : m_head(std::move(head)) {}

    void startTest() { t = std::make_unique<TestContext>(); }
    void endTest() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    IniStore& ini() { return t->ini(); }
    QString read(const QString& key, const QString& job = firstJob()) {
        return ini().readINI(jobSection(job), key);
    }
    QStringList keys(const QString& job = firstJob()) { return ini().keys(jobSection(job)); }

    // Writes the values into the job's section as they are, in the order of their names.
    void writeKeys(const QString& job, const QMap<QString, QString>& values) {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            ini().writeINI(jobSection(job), it.key(), it.value());
        }
    }
    // A stored job of this type: Type, the test's head keys, then extra (which may overwrite
    // a head key; an empty value is written as an empty key).
    void storeJob(const QString& job, const QMap<QString, QString>& extra = {}) {
        const QString section = jobSection(job);
        ini().writeINI(section, QStringLiteral("Type"), QString::number(Type));
        if (m_head) {
            for (const auto& [key, value] : m_head(job)) {
                ini().writeINI(section, key, value);
            }
        }
        writeKeys(job, extra);
    }
    void storeJob(const QMap<QString, QString>& extra) { storeJob(firstJob(), extra); }
    void storeJob() { storeJob(firstJob()); }

    std::unique_ptr<Editor> edit(const QString& key = firstJob()) {
        auto e = std::make_unique<Editor>(t->ctx());
        e->setUpJob(editCaption(), key);
        return e;
    }
    std::unique_ptr<Editor> create() {
        auto e = std::make_unique<Editor>(t->ctx());
        e->setUpJob(newCaption(), QString());
        return e;
    }

    // The way a user goes: the job list (with every editor registered), the new-job chooser
    // and the editor they open. drive runs on the modal editor and must close it.
    using Drive = std::function<void(Editor&)>;
    frmJobs* jobList() {
        registerJobEditorWindows(t->ctx().windows());
        return t->ctx().windows().template get<frmJobs>(QStringLiteral("frmJobs"));
    }
    // Runs drive on the editor once it is up in its modal loop.
    void driveEditor(QObject* guard, const Drive& drive) {
        driveModalAs<Editor>(guard, QLatin1String(Editor::staticMetaObject.className()), [this, drive](Editor& e) {
            QCOMPARE(loadedEditor(), &e);
            drive(e);
        });
    }
    Editor* loadedEditor() {
        return t->ctx().windows().template get<Editor>(QLatin1String(Editor::staticMetaObject.className()));
    }
    // Chooses this type in the new-job chooser and presses its OK.
    void newFromChooser(frmJobs* /*the list behind it*/, const Drive& drive) {
        auto* chooser = t->ctx().windows().template get<frmJobNew>(QStringLiteral("frmJobNew"));
        chooser->lstJobTypes->setSelectedItem(chooser->lstJobTypes->item(Type + 1));
        QObject guard;
        driveEditor(&guard, drive);
        chooser->cmdOK_Click();
    }
    // Clicks the job's row of the list and presses Edit.
    void editFromJobList(frmJobs* jobs, ListItem* row, const Drive& drive) {
        jobs->lstJobs2->setSelectedItem(row);
        jobs->lstJobs2_Click();
        QObject guard;
        driveEditor(&guard, drive);
        jobs->cmdEdit_Click();
    }

    std::unique_ptr<TestContext> t;

private:
    Head m_head;
};
