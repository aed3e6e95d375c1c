#pragma once
// Folders read ahead of a tree walk on worker threads, in the order the walk
// takes them. The walk plans each level's children as it enters the level
// and takes every planned child in that order; what it takes is exactly what
// reading the folder at its turn would have given, barring changes on disk
// in between. Workers only open and read folders and put each folder's own
// contents in order; everything else stays on the walk's thread.

#include "platform/dosfs/directory.h"

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace dosfs {

class ReadAhead {
  public:
    // Runs on the thread that read a folder, on that folder's contents alone.
    using Prepare = std::function<void(FolderContents&)>;

    // `threads` read folders: the walk's own and threads - 1 workers. With
    // one, every folder is read when it is taken. `prepare` (when given) is
    // done to every folder read, ahead or at its turn.
    explicit ReadAhead(int threads, Prepare prepare = {});
    ~ReadAhead();  // cancels and joins the workers
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The children of `parent` the walk will visit, in order; they come
    // before everything planned earlier (the walk goes depth first). The
    // parent must stay open until each is taken or cancel() returns.
    void plan(const Directory& parent, const std::vector<QByteArray>& hostNames);
    // Child `hostName` of `parent`, opened into `dir` and read into
    // `contents`. Returns the error number of the open or the read.
    int take(const Directory& parent, const QByteArray& hostName, Directory& dir,
             FolderContents& contents);
    // Forgets what is planned and waits for the folders being read.
    void cancel();

    // The processors this process may run on, the default number of threads.
    static int defaultThreads();

  private:
    struct Job {
        Job(const Directory* p, QByteArray n) : parent(p), name(std::move(n)) {}
        const Directory* parent;
        QByteArray name;
        enum State { Queued, Running, Done } state = Queued;
        Directory dir;
        FolderContents contents;
        Directory::Stamp stamp;  // of the folder as it was read
        int error = 0;
    };
    int readChild(const Directory& parent, const QByteArray& name, Directory& dir,
                  FolderContents& contents, Directory::Stamp* stamp = nullptr) const;
    std::list<Job>::iterator nextQueued();
    // Reads a queued job; the lock is held on entry and on return.
    void run(std::list<Job>::iterator job, std::unique_lock<std::mutex>& lock);
    void work();

    Prepare prepare_;
    std::mutex mutex_;
    std::condition_variable wake_;  // for workers: a job, room ahead, or the end
    std::condition_variable done_;  // for the walk: a job finished
    std::list<Job> jobs_;           // in the order the walk takes them
    int held_ = 0;                  // jobs running or done, not yet taken
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace dosfs
