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

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace dosfs {

class ReadAhead {
  public:
    // Runs on the thread that read a folder, on that folder's contents
    // alone; the subfolders are planned in the order it leaves them.
    using Prepare = std::function<void(FolderContents&)>;
    using Folder = std::shared_ptr<const Directory>;

    // `threads` read folders: the walk's own and threads - 1 workers. With
    // one, every folder is read when it is taken. `prepare` (when given) is
    // done to every folder read, ahead or at its turn.
    explicit ReadAhead(int threads, Prepare prepare = {});
    ~ReadAhead();  // cancels and joins the workers
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The children of `parent` the walk takes next, in order, each with the
    // subfolders below it `deeper` levels down.
    void plan(const Folder& parent, const std::vector<QByteArray>& hostNames, int deeper);
    // Child `hostName` of `parent`, with the subfolders below it `deeper`
    // levels down to come, opened into `dir` and read into `contents`.
    // Returns the error number of the open or the read.
    int take(const Folder& parent, const QByteArray& hostName, int deeper, Folder& dir,
             FolderContents& contents);
    // Forgets what is planned and waits for the folders being read.
    void cancel();

    // The processors this process may run on, the default number of threads.
    static int defaultThreads();

  private:
    struct Job {
        Job(Folder p, QByteArray n, int d) : parent(std::move(p)), name(std::move(n)), deeper(d) {}
        Folder parent;
        QByteArray name;
        int deeper;  // levels below it the walk visits
        enum State { Queued, Running, Done } state = Queued;
        bool abandoned = false;  // the walk has passed it while it was read
        Folder dir;
        FolderContents contents;
        Directory::Stamp stamp;  // of the folder as it was read
        int error = 0;
    };
    using Jobs = std::list<Job>;

    int readChild(const Directory& parent, const QByteArray& name, Folder& dir,
                  FolderContents& contents, Directory::Stamp* stamp = nullptr) const;
    Jobs::iterator nextQueued();
    bool roomAhead() const;  // whether a worker may read one folder more
    // Reads a queued job and plans its subfolders after it; the lock is
    // held on entry and on return.
    void run(Jobs::iterator job, std::unique_lock<std::mutex>& lock);
    // A folder read again at its turn: the subfolders planned from its
    // earlier read give way to those of `contents` (none when dir is null).
    // The lock is held.
    void replan(int deeper, const Folder* dir, const FolderContents& contents);
    // Forgets a job the walk will not take; returns the one after it.
    Jobs::iterator drop(Jobs::iterator job);
    void work();

    Prepare prepare_;
    std::mutex mutex_;
    std::condition_variable wake_;  // for workers: a job, room ahead, or the end
    std::condition_variable done_;  // for the walk: a job finished
    Jobs jobs_;                     // in the order the walk takes them
    int held_ = 0;                  // jobs running or done, not yet taken
    size_t heldEntries_ = 0;        // entries of the jobs done, not yet taken
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace dosfs
