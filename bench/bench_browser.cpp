// The message browser's refresh over a folder of thousands of message files, with a local
// address book to look the senders up in: the first listing (every file parsed) and a
// repeated one (files unchanged, taken from the settings cache).
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QDir>
#include <QFile>
#include <memory>

#include "BrowserListing.h"
#include "ListView.h"
#include "MessageDates.h"
#include "MessagesWindows.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "frmBrowse.h"
#include "frmMain.h"

namespace {

constexpr int kFiles = 5000;
constexpr int kContacts = 1000;

struct Fixture {
    TestContext t;
    frmBrowse* browser = nullptr;

    Fixture() {
        QByteArray ini = "[Addressbook]\n";
        for (int i = 0; i < kContacts; ++i) {
            ini += "Contact " + QByteArray::number(i) + "=+49170" + QByteArray::number(100000 + i) + '\n';
        }
        t.writeFile(QStringLiteral("tellwick.ini"), ini);
        t.ctx().getSettings();
        QDir().mkpath(t.ctx().state().inDir);
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray number = "+49170" + QByteArray::number(100000 + (i * 7) % (2 * kContacts));
            const QByteArray body =
                "[Tellwick]\nDate=2026-" + QByteArray::number(1 + i % 12).rightJustified(2, '0') + '-' +
                QByteArray::number(1 + i % 28).rightJustified(2, '0') +
                "\nTime=" + QByteArray::number(i % 24).rightJustified(2, '0') + ":" +
                QByteArray::number(i % 60).rightJustified(2, '0') + ":00\nNo=" + number +
                "\nText=Message number " + QByteArray::number(i) +
                " with a text long enough to be cut in the list\n" + (i % 3 ? "Read=1\n" : "");
            QFile f(t.ctx().state().inDir + QStringLiteral("/%1.sms").arg(i));
            f.open(QIODevice::WriteOnly);
            f.write(body);
        }
        registerMessagesWindows(t.ctx().windows());
    }
};

std::unique_ptr<Fixture> g_fixture;

bool listsEveryFile(benchmark::State& state, frmBrowse* b) {
    const int rows = b ? b->LstMsg2->count() : 0;
    return benchRequire(state, rows == kFiles, QStringLiteral("%1 of %2 files listed").arg(rows).arg(kFiles));
}

Fixture& fixture() {
    if (!g_fixture) {
        g_fixture = std::make_unique<Fixture>();
    }
    return *g_fixture;
}

// Opening the browser: its load lists the incoming folder, every file parsed for the first time.
void BM_OpenFirstListing(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Fixture& f = fixture();
        f.t.ctx().windows().unload(QStringLiteral("frmBrowse"));
        f.t.ctx().ini().clearCache();
        state.ResumeTiming();
        f.browser = f.t.ctx().windows().get<frmBrowse>(QStringLiteral("frmBrowse"));
        if (!listsEveryFile(state, f.browser)) {
            break;
        }
    }
    state.counters["files"] = fixture().browser->LstMsg2->count();
}
BENCHMARK(BM_OpenFirstListing)->Unit(benchmark::kMillisecond)->Iterations(3);

// The Refresh command over the same, unchanged files.
void BM_Refresh(benchmark::State& state) {
    Fixture& f = fixture();
    frmBrowse* b = f.t.ctx().windows().get<frmBrowse>(QStringLiteral("frmBrowse"));
    for (auto _ : state) {
        b->Tubby_Click();
        if (!listsEveryFile(state, b)) {
            break;
        }
    }
    state.counters["files"] = b->LstMsg2->count();
}
BENCHMARK(BM_Refresh)->Unit(benchmark::kMillisecond);

// The listing alone, without the window: reading the files and building the lines.
void BM_ListingOnly(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        BrowserListing listing(f.t.ctx().ini());
        const auto lines = listing.list(1, f.t.ctx().state().inDir);
        if (!benchRequire(state, lines.size() == kFiles,
                          QStringLiteral("%1 of %2 files read").arg(lines.size()).arg(kFiles))) {
            break;
        }
    }
}
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond);

// The dates of one line: the shown text and the sort serial.
void BM_Dates(benchmark::State& state) {
    const QString date = QStringLiteral("2026-05-17");
    const QString time = QStringLiteral("14:05:09");
    const MessageDates::Converter dates;
    if (!benchRequire(state, dates.shown(date, time).text.contains(QLatin1String("14:05")),
                      QStringLiteral("the date was not converted"))) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(dates.shown(date, time));
    }
}
BENCHMARK(BM_Dates)->Unit(benchmark::kMicrosecond);

// A click on a column header: the list sorted anew by the shown names.
void BM_SortByName(benchmark::State& state) {
    Fixture& f = fixture();
    frmBrowse* b = f.t.ctx().windows().get<frmBrowse>(QStringLiteral("frmBrowse"));
    for (auto _ : state) {
        b->LstMsg2_ColumnClick(1);
    }
    listsEveryFile(state, b);
}
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv, [] { g_fixture.reset(); });
}
