#include "platform/dosfs/read_ahead.h"

#include <sched.h>
#include <unistd.h>

namespace dosfs {
namespace {

// Folders read and held ahead of the walk at most; their entries are held
// with them.
constexpr int kMostHeld = 64;

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
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n > 0 ? static_cast<int>(n) : 1;
}

int ReadAhead::readChild(const Directory& parent, const QByteArray& name, Directory& dir,
                         FolderContents& contents, Directory::Stamp* stamp) const {
    contents = {};
    int error = parent.openChild(name, dir);
    if (error) return error;
    // Stamped before the entries are read, so that a change during the read
    // shows at the walk's turn as a different stamp.
    if (stamp) *stamp = dir.stamp();
    error = dir.read(contents);
    if (!error && prepare_) prepare_(contents);
    return error;
}

std::list<ReadAhead::Job>::iterator ReadAhead::nextQueued() {
    auto job = jobs_.begin();
    while (job != jobs_.end() && job->state != Job::Queued) ++job;
    return job;
}

void ReadAhead::run(std::list<Job>::iterator job, std::unique_lock<std::mutex>& lock) {
    job->state = Job::Running;
    ++held_;
    const Directory& parent = *job->parent;
    const QByteArray name = job->name;
    lock.unlock();
    Directory dir;
    FolderContents contents;
    Directory::Stamp stamp;
    const int error = readChild(parent, name, dir, contents, &stamp);
    lock.lock();
    job->stamp = stamp;
    job->dir = std::move(dir);
    job->contents = std::move(contents);
    job->error = error;
    job->state = Job::Done;
    done_.notify_all();
}

void ReadAhead::plan(const Directory& parent, const std::vector<QByteArray>& hostNames) {
    if (workers_.empty() || hostNames.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Before the first job still queued: the ones running or done belong
        // to folders the walk reaches first.
        const auto at = nextQueued();
        for (const QByteArray& name : hostNames) jobs_.emplace(at, &parent, name);
    }
    wake_.notify_all();
}

int ReadAhead::take(const Directory& parent, const QByteArray& hostName, Directory& dir,
                    FolderContents& contents) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto it = jobs_.begin();
    while (it != jobs_.end() && !(it->parent == &parent && it->name == hostName)) ++it;
    if (it == jobs_.end() || it->state == Job::Queued) {
        if (it != jobs_.end()) jobs_.erase(it);
        lock.unlock();
        return readChild(parent, hostName, dir, contents);
    }
    // While a worker reads it, the walk reads the next folders itself
    // rather than wait idle.
    while (it->state != Job::Done) {
        const auto next = held_ < kMostHeld ? nextQueued() : jobs_.end();
        if (next != jobs_.end())
            run(next, lock);
        else
            done_.wait(lock);  // only a finished job changes what can be done here
    }
    dir = std::move(it->dir);
    contents = std::move(it->contents);
    int error = it->error;
    const Directory::Stamp stamp = it->stamp;
    jobs_.erase(it);
    --held_;
    lock.unlock();
    wake_.notify_all();
    // Changed since it was read ahead: what reading it now gives.
    if (!error && !(dir.stamp() == stamp)) {
        dir = Directory();
        error = readChild(parent, hostName, dir, contents);
    }
    return error;
}

void ReadAhead::cancel() {
    std::unique_lock<std::mutex> lock(mutex_);
    jobs_.remove_if([](const Job& j) { return j.state == Job::Queued; });
    done_.wait(lock, [&] {
        for (const Job& j : jobs_)
            if (j.state == Job::Running) return false;
        return true;
    });
    jobs_.clear();
    held_ = 0;
}

void ReadAhead::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        std::list<Job>::iterator job;
        wake_.wait(lock, [&] {
            if (stopping_) return true;
            if (held_ >= kMostHeld) return false;
            job = nextQueued();
            return job != jobs_.end();
        });
        if (stopping_) return;
        run(job, lock);
    }
}

}  // namespace dosfs
