// Name completion in the compose dialog's recipient box against a large local address book:
// the time from a key press to the proposal (or to every row deselected), and the set-up
// that fills the address list.
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include "ListView.h"
#include "TestContext.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kNames = 5000;

// Made-up names of two words, the same every run.
QStringList makeNames(int count) {
    static const char* syllables[] = {"ka", "lo", "mi", "ne", "ru", "sa", "to", "vi", "be", "da",
                                      "fe", "gu", "ho", "ji", "ma", "no", "pe", "ri", "su", "ze"};
    QRandomGenerator rng(42);
    QSet<QString> seen;
    QStringList names;
    const auto word = [&](int parts) {
        QString w;
        for (int i = 0; i < parts; ++i) {
            w += QLatin1String(syllables[rng.bounded(20)]);
        }
        w[0] = w[0].toUpper();
        return w;
    };
    while (names.size() < count) {
        const QString name = word(2 + rng.bounded(2)) + u' ' + word(3);
        if (!seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
    }
    return names;
}

struct Fixture {
    TestContext t;
    std::unique_ptr<frmSendSMS> dialog;

    Fixture() {
        const QStringList names = makeNames(kNames);
        QByteArray ini = "[Addressbook]\n";
        for (int i = 0; i < names.size(); ++i) {
            ini += names[i].toUtf8() + "=+49151" + QByteArray::number(1000000 + i) + '\n';
        }
        t.writeFile(QStringLiteral("tellwick.ini"), ini);
        t.ctx().getSettings();
        dialog = std::make_unique<frmSendSMS>(t.ctx());
        dialog->show();
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture) {
        g_fixture = std::make_unique<Fixture>();
    }
    return *g_fixture;
}

// One key typed at the end of "<prefix>": the time of the key with its completion, which
// proposes a name (its row selected, the rest of it selected in the box) or, with none
// fitting, leaves every row deselected.
void typeKey(benchmark::State& state, const QString& prefix, QChar key, bool fits) {
    frmSendSMS& d = *fixture().dialog;
    for (auto _ : state) {
        state.PauseTiming();
        d.txtPhoneNo_KeyDown(8);  // no completion while the box is reset
        d.txtPhoneNo->setText(prefix);
        state.ResumeTiming();
        QTest::keyClick(d.txtPhoneNo, key.toLatin1());
        state.PauseTiming();
        const bool proposed = !d.lstNames->selectedListItems().isEmpty() && d.txtPhoneNo->hasSelectedText();
        const bool done = fits ? proposed : d.lstNames->selectedListItems().isEmpty();
        state.ResumeTiming();
        if (!benchRequire(state, done,
                          QStringLiteral("typing \"%1%2\" %3")
                              .arg(prefix, key, fits ? u"proposed no name"_s : u"kept a row selected"_s))) {
            break;
        }
    }
    state.counters["names"] = d.lstNames->count();
}

// The name found near the end of the list: most rows are walked before it.
void BM_KeystrokeLateMatch(benchmark::State& state) {
    const QString last = fixture().dialog->lstNames->item(kNames)->text();
    typeKey(state, last.left(3), last.at(3), true);
}
BENCHMARK(BM_KeystrokeLateMatch)->Unit(benchmark::kMicrosecond);

// No name fits: every row is walked and deselected.
void BM_KeystrokeNoMatch(benchmark::State& state) {
    typeKey(state, QStringLiteral("+4930;Qx"), u'q', false);
}
BENCHMARK(BM_KeystrokeNoMatch)->Unit(benchmark::kMicrosecond);

// After several recipients, the first name of the list.
void BM_KeystrokeEarlyMatch(benchmark::State& state) {
    const QString first = fixture().dialog->lstNames->item(1)->text();
    typeKey(state, QStringLiteral("+4930;+4940;") + first.left(1), first.at(1), true);
}
BENCHMARK(BM_KeystrokeEarlyMatch)->Unit(benchmark::kMicrosecond);

// Opening the dialog: set-up with the address list filled and sorted.
void BM_OpenWithAddressBook(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        frmSendSMS dialog(f.t.ctx());
        if (!benchRequire(
                state, dialog.lstNames->count() == kNames,
                QStringLiteral("%1 of %2 names listed").arg(dialog.lstNames->count()).arg(kNames))) {
            break;
        }
    }
}
BENCHMARK(BM_OpenWithAddressBook)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv, [] { g_fixture.reset(); });  // the windows go before the application
}
