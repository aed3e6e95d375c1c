#include "platform/readers/read_ahead.h"

#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/pending_files.h"
#include "platform/readers/read_clock.h"
#include "platform/readers/reader_policy.h"

#include <algorithm>
#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>

#include <unistd.h>

namespace readers {
namespace {

// Folders read and held ahead of the walk at most, and entries in them: no
// folder more is read ahead once either is reached.
constexpr int kMostHeld = 256;
constexpr size_t kMostHeldEntries = size_t(1) << 20;

size_t entriesOf(const dosfs::FolderContents& c) {
    return c.files.size() + c.folders.size();
}

}  // namespace

// Everything the workers share with the walk. Workers hold it too, so that a
// worker left inside a folder read outlives the ReadAhead harmlessly.
struct ReadAhead::State {
    struct Job {
        Job(Folder p, QByteArray n, int d) : parent(std::move(p)), name(std::move(n)), deeper(d) {}
        Folder parent;
        QByteArray name;
        int deeper;  // levels below it the walk visits
        enum Status { Queued, Running, Done } status = Queued;
        bool abandoned = false;  // the walk has passed it while it was read
        bool atTurn = false;     // read when the walk asked for it: no stamp to check
        Folder dir;
        dosfs::FolderContents contents;
        dosfs::Directory::Stamp stamp;  // of the folder as it was read
        int error = 0;
    };
    using Jobs = std::list<Job>;
    // What the walk is handed of a job it waited for.
    struct Taken {
        int error;
        dosfs::Directory::Stamp stamp;
        bool atTurn;
    };

    Prepare prepare;
    Waiting waiting;
    Readers::Mode mode = Readers::Mode::AtTurn;
    bool walkReads = true;   // the walk reads folders while it waits: reads are quick
    bool localOnly = false;  // but only folders on local disks
    int processors = 1;

    std::mutex mutex;
    std::condition_variable wake;  // for workers: a job, room ahead, or the end
    std::condition_variable done;  // for the walk: a job finished
    Jobs jobs;                     // in the order the walk takes them
    int held = 0;                  // jobs running or done, not yet taken
    size_t heldEntries = 0;        // entries of the jobs done, not yet taken
    bool stopping = false;
    int readers = 1;              // the walk when it reads, and the workers
    int allowed = 0;              // workers that may take jobs
    std::vector<char> reading;    // by worker: inside a folder read
    const Job* wanted = nullptr;  // what the walk waits for, read even without room
    bool walkWaiting = false;
    ReaderPolicy policy;  // while the readers adapt

    int readChild(const dosfs::Directory& parent, const QByteArray& name, Folder& dir,
                  dosfs::FolderContents& contents, dosfs::Directory::Stamp* stamp = nullptr) const;
    Jobs::iterator nextQueued();
    bool adapting() const { return mode == Readers::Mode::Adapt; }
    bool roomAhead() const { return held < kMostHeld && heldEntries < kMostHeldEntries; }
    // Reads a queued job and plans its subfolders after it; the lock is
    // held on entry and on return. `worker` is -1 for the walk.
    void run(Jobs::iterator job, std::unique_lock<std::mutex>& lock, int worker);
    void measure(double spent, double blocked);
    // The walk takes a processor too: it reads when it may, and lists.
    int workersFor(int readers) const {
        return std::max(walkReads && !localOnly ? 0 : 1, readers - 1);
    }
    bool walkMayTake(const Job& job) const {
        return walkReads && (!localOnly || dosfs::isLocalFileSystem(job.parent->device()));
    }
    // Forgets a job the walk will not take; returns the one after it.
    Jobs::iterator drop(Jobs::iterator job);
    // Forgets the subtree planned below the folder the walk just took.
    void dropBelow(int deeper);
    // The walk's three steps for a folder it takes: its job found (the jobs
    // before it dropped) or planned at its turn; the wait until it is read,
    // false when `waiting` gave the wait up; and the job handed over and
    // forgotten, with the lock released.
    Jobs::iterator findOrPlan(const Folder& parent, const QByteArray& name, int deeper);
    Jobs::iterator planAtTurn(const Folder& parent, const QByteArray& name, int deeper);
    bool awaitRead(Jobs::iterator job, std::unique_lock<std::mutex>& lock);
    Taken handOver(Jobs::iterator job, std::unique_lock<std::mutex>& lock, bool wasFull,
                   Folder& dir, dosfs::FolderContents& contents);
    void work(int worker);
};

ReadAhead::ReadAhead(Readers r, Prepare prepare, Waiting waiting)
    : state_(std::make_shared<State>()) {
    State& s = *state_;
    s.prepare = std::move(prepare);
    s.waiting = std::move(waiting);
    s.mode = r.mode;
    const int threads = s.adapting() ? 0 : std::max(1, r.threads);
    // A walk that must stay responsive reads only on local disks, and only
    // while reads are quick: a network mount may stop answering at any time.
    // Until the first reads are measured it leaves them to the workers.
    s.localOnly = s.adapting() && s.waiting;
    s.walkReads = !s.localOnly;
    s.processors = defaultThreads();
    s.policy = ReaderPolicy(s.processors);
    s.readers = s.adapting() ? std::min(s.processors, int(kMostReaders)) : threads;
    s.allowed = s.adapting() ? s.workersFor(s.readers) : threads - 1;
    s.reading.assign(size_t(s.adapting() ? kMostReaders : std::max(0, threads - 1)), 0);
    spawnWorkers();
}

ReadAhead::~ReadAhead() {
    cancel();
    std::vector<char> reading;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        reading = state_->reading;
    }
    state_->wake.notify_all();
    // A worker outside a read sees the end at once; one inside may be stuck
    // in a device that stopped answering, and is not waited for.
    for (size_t i = 0; i < workers_.size(); ++i) {
        if (reading[i])
            workers_[i].detach();
        else
            workers_[i].join();
    }
}

void ReadAhead::spawnWorkers() {
    const size_t want = size_t(state_->allowed);
    // Readers never take the signals that end the program: those are for the
    // thread that removes the files it was writing.
    const dosfs::HeldSignals held;
    while (workers_.size() < want) {
        const int index = int(workers_.size());
        workers_.emplace_back([s = state_, index] { s->work(index); });
    }
}

int ReadAhead::readers() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->readers;
}

int ReadAhead::State::readChild(const dosfs::Directory& parent, const QByteArray& name, Folder& dir,
                                dosfs::FolderContents& contents,
                                dosfs::Directory::Stamp* stamp) const {
    contents = {};
    auto opened = std::make_shared<dosfs::Directory>();
    int error = parent.openChild(name, *opened);
    dir = std::move(opened);
    if (error) return error;
    // Stamped before the entries are read, so that a change during the read
    // shows at the walk's turn as a different stamp.
    if (stamp) *stamp = dir->stamp();
    error = dir->read(contents);
    if (!error && prepare) prepare(*dir, contents);
    return error;
}

ReadAhead::State::Jobs::iterator ReadAhead::State::nextQueued() {
    auto job = jobs.begin();
    while (job != jobs.end() && job->status != Job::Queued) ++job;
    return job;
}

void ReadAhead::State::run(Jobs::iterator job, std::unique_lock<std::mutex>& lock, int worker) {
    job->status = Job::Running;
    ++held;
    if (worker >= 0) reading[size_t(worker)] = 1;
    const Folder parent = job->parent;
    const QByteArray name = job->name;
    lock.unlock();
    Folder dir;
    dosfs::FolderContents contents;
    dosfs::Directory::Stamp stamp;
    std::optional<ReadClock> clock;
    if (adapting()) clock.emplace();
    const int error = readChild(*parent, name, dir, contents, &stamp);
    double spent = 0, blocked = 0;
    if (clock) {
        clock->stop(spent, blocked);
        const double share = dosfs::faults::measuredWaitShare(parent->hostPath());
        if (share >= 0) blocked = spent * share;
    }
    lock.lock();
    if (worker >= 0) reading[size_t(worker)] = 0;
    if (adapting()) measure(spent, blocked);
    if (job->abandoned) {
        jobs.erase(job);
        --held;
        wake.notify_one();  // room for one more
        return;
    }
    // Its subfolders come right after it, before its next sibling. Threads
    // are woken only for what they can do: a worker for each new folder,
    // the walk for its own folder or, when it reads too, for new folders.
    bool planned = false;
    if (!error && job->deeper > 0 && !contents.folders.empty()) {
        const auto next = std::next(job);
        for (const dosfs::DirEntry& folder : contents.folders)
            jobs.emplace(next, dir, folder.hostName, job->deeper - 1);
        planned = true;
        if (contents.folders.size() == 1)
            wake.notify_one();
        else
            wake.notify_all();
    }
    heldEntries += entriesOf(contents);
    job->stamp = stamp;
    job->dir = std::move(dir);
    job->contents = std::move(contents);
    job->error = error;
    job->status = Job::Done;
    if (&*job == wanted || (planned && walkWaiting && walkReads)) done.notify_one();
}

void ReadAhead::State::measure(double spent, double blocked) {
    if (!policy.measure(spent, blocked)) return;
    const int before = allowed;
    readers = policy.readers();
    walkReads = policy.walkReads();
    allowed = workersFor(readers);
    if (allowed > before) wake.notify_all();
}

void ReadAhead::plan(const Folder& parent, const std::vector<QByteArray>& hostNames, int deeper) {
    State& s = *state_;
    if (s.mode == Readers::Mode::AtTurn || hostNames.empty()) return;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        const auto at = s.nextQueued();
        for (const QByteArray& name : hostNames) s.jobs.emplace(at, parent, name, deeper);
    }
    s.wake.notify_all();
}

int ReadAhead::take(const Folder& parent, const QByteArray& hostName, int deeper, Folder& dir,
                    dosfs::FolderContents& contents) {
    State& s = *state_;
    if (s.mode == Readers::Mode::AtTurn) return s.readChild(*parent, hostName, dir, contents);
    std::unique_lock<std::mutex> lock(s.mutex);
    spawnWorkers();
    // Workers that found no room wait until the walk takes or passes folders.
    const bool wasFull = !s.roomAhead();
    auto job = s.findOrPlan(parent, hostName, deeper);
    for (;;) {
        if (!s.awaitRead(job, lock)) return kGivenUp;
        const State::Taken taken = s.handOver(job, lock, wasFull, dir, contents);
        if (taken.error || taken.atTurn || dir->stamp() == taken.stamp) return taken.error;
        // Changed since it was read ahead: it is read again, and its
        // subfolders as they are now take the place of those read before.
        lock.lock();
        s.dropBelow(deeper);
        job = s.planAtTurn(parent, hostName, deeper);
    }
}

ReadAhead::State::Jobs::iterator ReadAhead::State::findOrPlan(const Folder& parent,
                                                              const QByteArray& name, int deeper) {
    auto job = jobs.begin();
    while (job != jobs.end() && !(job->parent == parent && job->name == name)) ++job;
    // Not planned (its parent changed since it was read ahead): it is read
    // now, and its subfolders are planned after it as usual.
    if (job == jobs.end()) return planAtTurn(parent, name, deeper);
    // The walk will not come back for what it has passed.
    for (auto stale = jobs.begin(); stale != job;) stale = drop(stale);
    return job;
}

ReadAhead::State::Jobs::iterator ReadAhead::State::planAtTurn(const Folder& parent,
                                                              const QByteArray& name, int deeper) {
    const auto job = jobs.emplace(jobs.begin(), parent, name, deeper);
    job->atTurn = true;
    return job;
}

bool ReadAhead::State::awaitRead(Jobs::iterator job, std::unique_lock<std::mutex>& lock) {
    wanted = &*job;
    while (job->status != Job::Done) {
        // With a fixed number of readers the walk reads the next folders
        // itself rather than wait idle.
        if (walkReads) {
            auto next = job->status == Job::Queued ? job : nextQueued();
            if (next != job && !roomAhead()) next = jobs.end();
            if (next != jobs.end() && walkMayTake(*next)) {
                run(next, lock, -1);
                continue;
            }
        }
        // A worker asleep for want of room may read the wanted one.
        if (job->status == Job::Queued) wake.notify_all();
        walkWaiting = true;
        bool sliceOver = false;
        if (waiting)
            sliceOver = done.wait_for(lock, std::chrono::milliseconds(kWaitSliceMs)) ==
                        std::cv_status::timeout;
        else
            done.wait(lock);
        walkWaiting = false;
        if (!sliceOver) continue;
        lock.unlock();
        const bool giveUp = waiting();
        lock.lock();
        if (giveUp) {
            wanted = nullptr;
            return false;
        }
    }
    wanted = nullptr;
    return true;
}

ReadAhead::State::Taken ReadAhead::State::handOver(Jobs::iterator job,
                                                   std::unique_lock<std::mutex>& lock, bool wasFull,
                                                   Folder& dir, dosfs::FolderContents& contents) {
    const bool full = wasFull || !roomAhead();
    heldEntries -= entriesOf(job->contents);
    dir = job->dir;
    contents = std::move(job->contents);
    const Taken taken{job->error, job->stamp, job->atTurn};
    jobs.erase(job);
    --held;
    lock.unlock();
    if (full) wake.notify_all();
    return taken;
}

void ReadAhead::State::dropBelow(int deeper) {
    // The folder's subtree as planned is the run of jobs at the front that
    // lie below it, after any the walk has passed while they were read.
    auto at = jobs.begin();
    while (at != jobs.end() && at->abandoned) ++at;
    while (at != jobs.end() && at->deeper < deeper) at = drop(at);
}

ReadAhead::State::Jobs::iterator ReadAhead::State::drop(Jobs::iterator job) {
    // One being read is left to its reader, which removes it when done.
    if (job->status == Job::Running) {
        job->abandoned = true;
        return std::next(job);
    }
    if (job->status == Job::Done) {
        --held;
        heldEntries -= entriesOf(job->contents);
    }
    return jobs.erase(job);
}

void ReadAhead::cancel() {
    State& s = *state_;
    std::lock_guard<std::mutex> lock(s.mutex);
    for (auto job = s.jobs.begin(); job != s.jobs.end();) job = s.drop(job);
    s.wanted = nullptr;
}

void ReadAhead::State::work(int worker) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        Jobs::iterator job;
        wake.wait(lock, [&] {
            if (stopping) return true;
            if (worker >= allowed) return false;
            job = nextQueued();
            return job != jobs.end() && (roomAhead() || &*job == wanted);
        });
        if (stopping) return;
        run(job, lock, worker);
    }
}

}  // namespace readers
