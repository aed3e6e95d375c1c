#include "platform/dosfs/read_ahead.h"

#include <sched.h>
#include <unistd.h>

namespace dosfs {
namespace {

// Folders read and held ahead of the walk at most, and entries in them: no
// folder more is read ahead once either is reached.
constexpr int kMostHeld = 64;
constexpr size_t kMostHeldEntries = size_t(1) << 20;

size_t entriesOf(const FolderContents& c) {
    return c.files.size() + c.folders.size();
}

}  // namespace

ReadAhead::ReadAhead(int threads, Prepare prepare) : prepare_(std::move(prepare)) {
    for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

ReadAhead::~ReadAhead() {
    cancel();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

int ReadAhead::defaultThreads() {
    // Under taskset or a container's CPU set only those processors count:
    // more readers than processors would only take turns.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

int ReadAhead::readChild(const Directory& parent, const QByteArray& name, Folder& dir,
                         FolderContents& contents, Directory::Stamp* stamp) const {
    contents = {};
    auto opened = std::make_shared<Directory>();
    int error = parent.openChild(name, *opened);
    dir = std::move(opened);
    if (error) return error;
    // Stamped before the entries are read, so that a change during the read
    // shows at the walk's turn as a different stamp.
    if (stamp) *stamp = dir->stamp();
    error = dir->read(contents);
    if (!error && prepare_) prepare_(contents);
    return error;
}

bool ReadAhead::roomAhead() const {
    return held_ < kMostHeld && heldEntries_ < kMostHeldEntries;
}

ReadAhead::Jobs::iterator ReadAhead::nextQueued() {
    auto job = jobs_.begin();
    while (job != jobs_.end() && job->state != Job::Queued) ++job;
    return job;
}

void ReadAhead::run(Jobs::iterator job, std::unique_lock<std::mutex>& lock) {
    job->state = Job::Running;
    ++held_;
    const Folder parent = job->parent;
    const QByteArray name = job->name;
    lock.unlock();
    Folder dir;
    FolderContents contents;
    Directory::Stamp stamp;
    const int error = readChild(*parent, name, dir, contents, &stamp);
    lock.lock();
    if (job->abandoned) {
        jobs_.erase(job);
        --held_;
        wake_.notify_all();
        done_.notify_all();
        return;
    }
    // Its subfolders come right after it, before its next sibling.
    if (!error && job->deeper > 0 && !workers_.empty()) {
        const auto next = std::next(job);
        for (const DirEntry& folder : contents.folders)
            jobs_.emplace(next, dir, folder.hostName, job->deeper - 1);
        wake_.notify_all();
    }
    heldEntries_ += entriesOf(contents);
    job->stamp = stamp;
    job->dir = std::move(dir);
    job->contents = std::move(contents);
    job->error = error;
    job->state = Job::Done;
    done_.notify_all();
}

void ReadAhead::plan(const Folder& parent, const std::vector<QByteArray>& hostNames, int deeper) {
    if (workers_.empty() || hostNames.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto at = nextQueued();
        for (const QByteArray& name : hostNames) jobs_.emplace(at, parent, name, deeper);
    }
    wake_.notify_all();
}

int ReadAhead::take(const Folder& parent, const QByteArray& hostName, int deeper, Folder& dir,
                    FolderContents& contents) {
    if (workers_.empty()) return readChild(*parent, hostName, dir, contents);
    std::unique_lock<std::mutex> lock(mutex_);
    auto it = jobs_.begin();
    while (it != jobs_.end() && !(it->parent == parent && it->name == hostName)) ++it;
    if (it == jobs_.end()) {
        // Not planned (its parent changed since it was read ahead): it is
        // read now, and its subfolders are planned after it as usual.
        it = jobs_.emplace(jobs_.begin(), parent, hostName, deeper);
    } else {
        // The walk will not come back for what it has passed.
        for (auto stale = jobs_.begin(); stale != it;) stale = drop(stale);
    }
    if (it->state == Job::Queued) run(it, lock);
    // While a worker reads it, the walk reads the next folders itself
    // rather than wait idle.
    while (it->state != Job::Done) {
        const auto next = roomAhead() ? nextQueued() : jobs_.end();
        if (next != jobs_.end())
            run(next, lock);
        else
            done_.wait(lock);  // only a finished job changes what can be done here
    }
    heldEntries_ -= entriesOf(it->contents);
    dir = it->dir;
    contents = std::move(it->contents);
    int error = it->error;
    const Directory::Stamp stamp = it->stamp;
    const int below = it->deeper;
    jobs_.erase(it);
    --held_;
    lock.unlock();
    wake_.notify_all();
    // Changed since it was read ahead: what reading it now gives, and its
    // subfolders as they are now in place of those read before.
    if (!error && !(dir->stamp() == stamp)) {
        error = readChild(*parent, hostName, dir, contents);
        lock.lock();
        replan(below, error ? nullptr : &dir, contents);
        lock.unlock();
        wake_.notify_all();
    }
    return error;
}

void ReadAhead::replan(int deeper, const Folder* dir, const FolderContents& contents) {
    // The folder's subtree as planned is the run of jobs at the front that
    // lie below it, after any the walk has passed while they were read.
    auto at = jobs_.begin();
    while (at != jobs_.end() && at->abandoned) ++at;
    while (at != jobs_.end() && at->deeper < deeper) at = drop(at);
    if (!dir || deeper <= 0) return;
    for (const DirEntry& folder : contents.folders)
        jobs_.emplace(at, *dir, folder.hostName, deeper - 1);
}

ReadAhead::Jobs::iterator ReadAhead::drop(Jobs::iterator job) {
    // One being read is left to its reader, which removes it when done.
    if (job->state == Job::Running) {
        job->abandoned = true;
        return std::next(job);
    }
    if (job->state == Job::Done) {
        --held_;
        heldEntries_ -= entriesOf(job->contents);
    }
    return jobs_.erase(job);
}

void ReadAhead::cancel() {
    std::unique_lock<std::mutex> lock(mutex_);
    jobs_.remove_if([](const Job& j) { return j.state != Job::Running; });
    for (Job& j : jobs_) j.abandoned = true;
    done_.wait(lock, [&] { return jobs_.empty(); });
    held_ = 0;
    heldEntries_ = 0;
}

void ReadAhead::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        Jobs::iterator job;
        wake_.wait(lock, [&] {
            if (stopping_) return true;
            if (!roomAhead()) return false;
            job = nextQueued();
            return job != jobs_.end();
        });
        if (stopping_) return;
        run(job, lock);
    }
}

}  // namespace dosfs
