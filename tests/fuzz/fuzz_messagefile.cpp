// Message files as other programs drop them into the outgoing folder: any bytes are read,
// ordered and sent (with no phone, so sending fails), and the message is never lost.
#include <QDir>
#include <QFile>

#include "AppContext.h"
#include "FuzzCommon.h"
#include "MessageFiles.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static AppContext* ctx = nullptr;
    if (!ctx) {
        ctx = new AppContext(Fuzz::scratch().filePath(QStringLiteral("home")));
        ctx->getSettings();
    }
    const QString out = ctx->programPath(QStringLiteral("Out"));
    const QString sent = ctx->programPath(QStringLiteral("Sent"));
    QDir(sent).removeRecursively();
    QDir().mkpath(sent);
    QDir().mkpath(out);

    const QByteArray bytes = Fuzz::bytes(data, size);
    const QString path = QDir(out).filePath(QStringLiteral("20240102-030405-0170123-001.sms"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            Fuzz::fail("cannot write the message file", path);
        }
    }
    FUZZ_CHECK(MessageFiles::outgoingFilesInOrder(out) == QStringList{path}, out);
    const QString result = MessageFiles::sendSMSFile(*ctx, path);
    FUZZ_CHECK(result.startsWith(QLatin1String("ERROR")), result);
    // Failed: the file is kept, with its bytes, in the sent folder or where it was.
    const QStringList kept = QDir(sent).entryList(QDir::Files);
    FUZZ_CHECK(kept.size() == 1 || (kept.isEmpty() && QFile::exists(path)), result);
    QFile::remove(path);
    return 0;
}
