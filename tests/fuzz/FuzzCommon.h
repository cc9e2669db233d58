#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// What every fuzz target shares: one application object for the whole run, a scratch folder,
// and a check that stops the run with a message (libFuzzer keeps the input as a crash file).
namespace Fuzz {

inline void startApplication(int* argc, char*** argv) {
    static QCoreApplication* app = nullptr;
    if (!app) {
        app = new QCoreApplication(*argc, *argv);  // lives as long as the process
    }
}

// In memory where the system has a memory file system: every atomic write syncs its file,
// which on a disk makes a run a hundred times slower.
inline QTemporaryDir& scratch() {
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/tellwick-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tellwick-fuzz-XXXXXX"));
    return dir;
}

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The bytes as text in one of three ways the first byte picks: UTF-8, one character per byte
// (the phone's 8-bit line), or raw UTF-16 units (lone surrogates included).
inline QString text(const QByteArray& in) {
    if (in.isEmpty()) {
        return {};
    }
    const QByteArray rest = in.mid(1);
    switch (quint8(in.at(0)) % 3) {
    case 0:
        return QString::fromUtf8(rest);
    case 1:
        return QString::fromLatin1(rest);
    default: {
        QString units(rest.size() / 2, Qt::Uninitialized);
        std::memcpy(units.data(), rest.constData(), size_t(units.size()) * 2);
        return units;
    }
    }
}

[[noreturn]] inline void fail(const char* what, const QString& detail = {}) {
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n%s\n", what, qUtf8Printable(detail));
    std::abort();
}

}  // namespace Fuzz

#define FUZZ_CHECK(cond, detail)         \
    do {                                 \
        if (!(cond)) {                   \
            Fuzz::fail(#cond, (detail)); \
        }                                \
    } while (false)
