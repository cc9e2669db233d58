// The phonebook against the simulated phone on a pty, its answers paced at 115200 bit/s:
// reading a SIM memory of 250 entries into its local copy, printed against the time the
// wire alone needs for the bytes exchanged. And the contacts import of 1,000, 2,000 and
// 4,000 contacts into the local address book with the address book window open: reading
// the folder into the list, and importing every row (the settings work and the window's
// list and refresh).
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <memory>

#include "ListView.h"
#include "MessagesWindows.h"
#include "PhoneBook.h"
#include "PhoneSimulator.h"
#include "TestContext.h"
#include "frmAddressBook.h"
#include "frmMain.h"
#include "frmOutlookImport.h"

namespace {

constexpr int kSpeed = 115200;
constexpr int kEntries = 250;

void BM_ReadSim250(benchmark::State& state) {
    TestContext t;
    PhoneSimulator sim;
    sim.setPhonebook(QStringLiteral("SM"), kEntries, 40, 18);
    for (int i = 1; i <= kEntries; ++i) {
        sim.setPhonebookEntry(QStringLiteral("SM"), i, QStringLiteral("+4917%1").arg(10000000 + i * 37),
                              QStringLiteral("Contact %1 Name").arg(i));
    }
    if (!benchRequire(state,
                      sim.start() && t.ctx().phone().openPort(sim.devicePath(), kSpeed) &&
                          t.ctx().phone().startDevice(),
                      QStringLiteral("simulated phone not reachable"))) {
        return;
    }
    t.ctx().getSettings();
    sim.setLineSpeed(kSpeed);
    PhoneBook book(t.ctx());
    book.state(QStringLiteral("SM")).max = kEntries;
    ListView list;
    list.addColumn(QStringLiteral("Name"), 1500);
    list.addColumn(QStringLiteral("Number"), 1500);
    double seconds = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        sim.clearRecords();
        QElapsedTimer clock;
        clock.start();
        book.readBook(QStringLiteral("SM"), &list);
        seconds += clock.nsecsElapsed() / 1e9;
        bytes += sim.bytesReceived() + sim.bytesSent();
        if (!benchRequire(state, list.count() == kEntries,
                          QStringLiteral("%1 of %2 entries read").arg(list.count()).arg(kEntries))) {
            return;
        }
    }
    const double n = double(state.iterations());
    const double wire = double(bytes) * 10.0 / kSpeed / n;
    state.counters["read_s"] = seconds / n;
    state.counters["wire_s"] = wire;
    state.counters["of_wire"] = seconds / n / wire;
    state.counters["bytes"] = double(bytes) / n;
    state.counters["entries"] = t.ini().keys(QStringLiteral("Addressbook.SM")).size();
    std::printf("read of %d entries: %.3f s, wire time of its %.0f bytes at %d bit/s: %.3f s, ratio %.2f\n",
                kEntries, seconds / n, double(bytes) / n, kSpeed, wire, seconds / n / wire);
}
BENCHMARK(BM_ReadSim250)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportContacts(benchmark::State& state) {
    const int count = int(state.range(0));
    double readSeconds = 0;
    double importSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TestContext>();
        t->ctx().getSettings();
        registerMessagesWindows(t->ctx().windows());
        QDir().mkpath(t->path(QStringLiteral("contacts")));
        t->ini().writeINI(QStringLiteral("Settings"), QStringLiteral("ContactsFolder"),
                          QStringLiteral("contacts"));
        QByteArray cards;
        for (int i = 0; i < count; ++i) {
            cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact " + QByteArray::number(i) +
                     "\r\nTEL;TYPE=CELL:+49 170 " + QByteArray::number(1000000 + i) + "\r\nEND:VCARD\r\n";
        }
        t->writeFile(QStringLiteral("contacts/all.vcf"), cards);
        frmAddressBook book(t->ctx());
        frmOutlookImport window(t->ctx());
        frmOutlookImport::wire(&window, book.lstNames, [&book] { book.Tubby_Click(); });
        state.ResumeTiming();

        QElapsedTimer clock;
        clock.start();
        window.cmdRead_Click();
        readSeconds += clock.nsecsElapsed() / 1e9;
        if (!benchRequire(
                state, window.lstContacts->count() == count,
                QStringLiteral("%1 of %2 contacts read").arg(window.lstContacts->count()).arg(count))) {
            break;
        }
        window.lstContacts->selectAll();
        clock.restart();
        window.cmdImport_Click();
        importSeconds += clock.nsecsElapsed() / 1e9;
        const qsizetype imported = t->ini().keys(QStringLiteral("Addressbook")).size();
        if (!benchRequire(state, imported == count,
                          QStringLiteral("%1 of %2 contacts imported").arg(imported).arg(count))) {
            break;
        }
    }
    const double n = double(state.iterations());
    state.counters["read_s"] = readSeconds / n;
    state.counters["import_s"] = importSeconds / n;
    std::printf("contacts %d: read %.3f s, import %.3f s\n", count, readSeconds / n, importSeconds / n);
}
BENCHMARK(BM_ImportContacts)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
