#pragma once
// Folders read ahead of a tree walk on worker threads, in the order the walk
// takes them. The walk plans the first level; every folder read below it
// plans its own subfolders, as many levels down as the walk goes, in the
// order its contents are left in. The walk takes every folder in pre-order;
// what it takes is exactly what reading the folder at its turn would have
// given, barring changes on disk in between. Workers only open and read
// folders and put each folder's own contents in order; everything else
// stays on the walk's thread.

#include "platform/dosfs/directory.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace readers {

class ReadAhead {
  public:
    // Runs on the thread that read a folder, on that folder's contents
    // alone; the subfolders are planned in the order it leaves them, and
    // those it takes out are never opened.
    using Prepare = std::function<void(const dosfs::Directory&, dosfs::FolderContents&)>;
    using Folder = std::shared_ptr<const dosfs::Directory>;
    // Runs on the walk's thread about every kWaitSliceMs while the walk waits
    // for a folder; true gives the wait up.
    using Waiting = std::function<bool()>;

    // How many threads read folders.
    struct Readers {
        enum class Mode {
            AtTurn,  // the walk alone reads each folder at its turn: nothing ahead
            Fixed,   // `threads`: the walk's own and threads - 1 workers
            Adapt,   // as many as the folders' latency calls for (see readersFor)
        } mode;
        int threads;
        static Readers adapt() { return {Mode::Adapt, 0}; }
        static Readers fixed(int threads) {
            return {threads > 1 ? Mode::Fixed : Mode::AtTurn, threads};
        }
    };
    // Readers at most when they adapt: a disk's queue and a network mount's
    // round trips gain little beyond it, and each reader holds a folder.
    static constexpr int kMostReaders = 16;
    // A host that lets its events run when 50 ms have passed may have let
    // them run just before a wait: slices of 20 ms keep its longest pause
    // near 70 ms, not 100.
    static constexpr int kWaitSliceMs = 20;
    // What take returns when `waiting` gave the wait up.
    static constexpr int kGivenUp = -1;

    // Adapting readers leave the walk to read too only while reads do not
    // wait on the device; given `waiting`, only on local disks, so that it
    // waits on a network mount no longer than a slice between calls of
    // `waiting`. `prepare` (when given) is done to every folder read, ahead
    // or at its turn.
    explicit ReadAhead(Readers readers, Prepare prepare = {}, Waiting waiting = {});
    // Cancels; a worker still inside a folder read is left to finish it on
    // its own and touches nothing of the walk when it returns.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The children of `parent` the walk takes next, in order, each with the
    // subfolders below it `deeper` levels down.
    void plan(const Folder& parent, const std::vector<QByteArray>& hostNames, int deeper);
    // Child `hostName` of `parent`, with the subfolders below it `deeper`
    // levels down to come, opened into `dir` and read into `contents`.
    // Returns the error number of the open or the read, or kGivenUp.
    int take(const Folder& parent, const QByteArray& hostName, int deeper, Folder& dir,
             dosfs::FolderContents& contents);
    // Forgets what is planned; folders being read are left to their readers.
    void cancel();

    // The processors this process may keep busy: those it may run on, or
    // fewer where its control group's processor quota allows fewer.
    static int defaultThreads();
    // Processors the quotas of the control groups in `membership` (the text
    // of /proc/self/cgroup) allow, found under `cgroupFs` (/sys/fs/cgroup),
    // the group's own and its parents' alike; 0 when none sets a quota.
    static int processorsOfQuota(const QByteArray& cgroupFs, const QByteArray& membership);
    // Adapting readers for `processors` when readers spend `blockedShare`
    // of their time blocked in the device: enough that the processors stay
    // busy, within processors and kMostReaders. Each wait counts twice
    // (processors * (1 + 2 * wait / work)): waits come in bursts, as a
    // folder's entries arrive together from a cold disk, and the listing
    // needs a processor too.
    static int readersFor(int processors, double blockedShare);
    // Readers working now (for benchmarks and tests).
    int readers() const;

  private:
    struct State;
    void spawnWorkers();

    std::shared_ptr<State> state_;
    std::vector<std::thread> workers_;
};

}  // namespace readers
