// DOS paths against a small tree: exact and case-folded names, "..",
// drive letters, private-use names and very long paths.

#include "tests/fuzz/fuzz_support.h"

#include "platform/dosfs/file_system.h"
#include "platform/dosfs/host_name.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const dosfs::FileSystem tree = [] {
        const QByteArray root = scratchFolder() + "/tree";
        for (const char* folder : {"/Work/Sub", "/work2/日本語", "/x\xff\x01y", "/a b/c"})
            QDir().mkpath(QString::fromUtf8(root + folder));
        QFile f(QString::fromUtf8(root + "/Work/file.txt"));
        f.open(QIODevice::WriteOnly);
        dosfs::DriveTable drives;
        drives.set(u'C', root);
        drives.set(u'D', root + "/Work");
        drives.set(u'Q', root + "/missing");
        return dosfs::FileSystem(drives);
    }();
    // A copy an input: what one input changes (the current folders) is freed
    // with it, so libFuzzer sees no memory kept and runs no leak check.
    dosfs::FileSystem fs = tree;
    const QString path = size % 2 ? QString::fromUtf8(reinterpret_cast<const char*>(data),
                                                      static_cast<qsizetype>(size))
                                  : utf16(data, size);
    const dosfs::Resolved r = fs.resolve(path);
    if (r.error == 0) {
        FUZZ_CHECK(r.dos.size() >= 3 && r.dos[1] == u':' && r.dos[2] == u'\\');
        // A path the layer gives back resolves to the same entry.
        const dosfs::Resolved again = fs.resolve(r.dos);
        FUZZ_CHECK(again.error == 0 && again.host == r.host);
    }
    fs.resolveForCreate(path);
    if (fs.changeFolder(path) == 0) {
        const QString current = fs.currentFolder(fs.currentDrive());
        FUZZ_CHECK(current.size() >= 3);
    }
    dosfs::parentFolder(path);
    dosfs::lastName(path);
    // Every host name is listed by a name that opens it again.
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FUZZ_CHECK(dosfs::encodeHostName(dosfs::decodeHostName(bytes)) == bytes);
    return 0;
}
