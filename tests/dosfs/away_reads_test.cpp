// Reads of a mount that may stop answering, made by the helper process.
// Each case runs in a child process of its own, as the program does: the
// helper is forked once and stays for the life of the process.

#include "platform/dosfs/away_reads.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/file_system.h"
#include "tests/support/in_child.h"
#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using dosfs::Directory;
using dosfs::FolderContents;
namespace faults = dosfs::faults;

namespace {

bool same(const std::vector<dosfs::DirEntry>& a, const std::vector<dosfs::DirEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].hostName != b[i].hostName || a[i].size != b[i].size ||
            a[i].mtime != b[i].mtime || a[i].hidden != b[i].hidden ||
            a[i].readOnly != b[i].readOnly)
            return false;
    return true;
}

}  // namespace

// Whatever the helper reads is what this process reads itself: entries of
// every kind, a child, a stamp, realpath, and a path resolved through a
// drive whose folder is local but holds the far one; what is closed here is
// closed there.
// A fault set here after the helper was forked does not touch its reads,
// which shows that it made them.
TEST(AwayReads, AFolderOnAMountThatMayStopAnsweringIsReadByTheHelperAsHere) {
    TempTree tree;
    tree.file("far/plain.txt", 1234, 1704431229);
    tree.file("far/.hidden", 5);
    tree.file("far/odd\xff\x01name", 7);
    tree.folder("far/Sub");
    tree.file("far/Sub/inner.txt", 3);
    tree.link("far/to-sub", "Sub");
    tree.link("far/dangling", "nowhere");
    const QByteArray far = tree.path("far");
    FolderContents here, sub;
    Directory d, s;
    ASSERT_EQ(Directory::open(far, d), 0);
    ASSERT_EQ(d.read(here), 0);
    ASSERT_EQ(d.openChild("Sub", s), 0);
    ASSERT_EQ(s.read(sub), 0);
    const Directory::Stamp stamp = d.stamp();
    // A drive on a local folder with the far one below it.
    dosfs::DriveTable drives;
    drives.set(u'T', tree.root());
    const auto resolve = [&drives] {
        return dosfs::FileSystem(drives).resolve(QStringLiteral("T:\\FAR\\sub"));
    };
    const dosfs::Resolved resolved = resolve();
    ASSERT_EQ(resolved.error, 0);
    QByteArray realHere;
    ASSERT_EQ(dosfs::hostRealPath(far + "/to-sub", realHere), 0);

    const int status = inChild([&](int) {
        faults::countAsAway(far);
        const rlimit few{256, 256};  // the helper's too: a leak shows below
        ::setrlimit(RLIMIT_NOFILE, &few);
        if (!dosfs::away::start()) return 10;
        for (const auto op : {faults::Op::ReadFolder, faults::Op::Open, faults::Op::Stat})
            faults::failOperation(op, EACCES, tree.root());
        FolderContents there, subThere;
        Directory a, b;
        if (Directory::open(far, a) || a.read(there)) return 11;
        if (!same(there.files, here.files) || !same(there.folders, here.folders)) return 12;
        if (a.openChild("Sub", b) || b.read(subThere) || !same(subThere.files, sub.files))
            return 13;
        if (!(a.stamp() == stamp)) return 14;
        Directory link;
        if (a.openChild("to-sub", link) == 0) return 15;  // a link is not followed
        const dosfs::Resolved r = resolve();
        if (r.error || r.host != resolved.host || r.dos != resolved.dos || !r.isFolder) return 16;
        QByteArray real;
        if (dosfs::hostRealPath(far + "/to-sub", real) || real != realHere) return 17;
        // A folder closed here is closed there: more than a process may hold open.
        for (int i = 0; i < 1500; ++i) {
            Directory again;
            if (Directory::open(far, again)) return 18;
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
}

// A helper that never answers: a read the window waits for gives up when
// asked to, and the process ends at once with another read still waiting.
TEST(AwayReads, AReadThatNeverAnswersHoldsNeitherTheWindowNorTheEnd) {
    TempTree tree;
    tree.folder("stuck");
    const QByteArray stuck = tree.path("stuck");
    const int status = inChild(
        [&](int ending) {
            faults::countAsAway(stuck);
            faults::hangOperation(faults::Op::Open, stuck);  // in the helper, for ever
            if (!dosfs::away::start()) return 10;
            faults::clearAll();
            faults::countAsAway(stuck);
            std::thread([stuck] {
                Directory d;
                Directory::open(stuck, d);
            }).detach();
            const auto t0 = std::chrono::steady_clock::now();
            int polls = 0;
            dosfs::away::whileWaiting([&polls] { return ++polls < 5; });
            Directory d;
            if (Directory::open(stuck, d) != dosfs::kNotAnswering) return 11;
            if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(1)) return 12;
            [[maybe_unused]] const ssize_t n = ::write(ending, "x", 1);
            return 0;
        },
        1000);
    EXPECT_EQ(status, 0);
}
