#include "platform/dosfs/answer_watch.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace dosfs {
namespace {

// A call on its thread; what it returns is kept here.
struct Call {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::any answer;
    QByteArray place;  // set when the window stopped waiting for it
};

}  // namespace

// What calls that outlive the watch share with it: the places that do not
// answer, each with the number of calls still stuck there, and the calls
// not waited for, by key, until their answer is taken.
struct AnswerWatch::Shared {
    mutable std::mutex mutex;
    std::map<QByteArray, int> stuck;
    std::map<QByteArray, std::shared_ptr<Call>> late;
    bool answered = false;
};

AnswerWatch::AnswerWatch(int limitMs, std::function<void()> waiting)
    : limitMs_(limitMs), waiting_(std::move(waiting)), shared_(std::make_shared<Shared>()) {}

AnswerWatch::~AnswerWatch() = default;

bool AnswerWatch::notAnswering(const QByteArray& hostPath) const {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    for (const auto& [place, calls] : shared_->stuck)
        if (below(hostPath, place)) return true;
    return false;
}

bool AnswerWatch::lateAnswers() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return std::exchange(shared_->answered, false);
}

bool AnswerWatch::ask(const QByteArray& key, const QByteArray& hostPath,
                      const QByteArray& driveRoot, std::function<std::any()> call,
                      std::any& answer) {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        const auto it = shared_->late.find(key);
        if (it != shared_->late.end()) {
            std::lock_guard<std::mutex> callLock(it->second->mutex);
            if (!it->second->done) return false;
            answer = std::move(it->second->answer);
            shared_->late.erase(it);
            return true;
        }
    }
    if (notAnswering(hostPath)) return false;
    auto state = std::make_shared<Call>();
    std::thread([state, call = std::move(call), shared = shared_] {
        std::any result = call();
        QByteArray place;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->answer = std::move(result);
            state->done = true;
            state->ended.notify_all();
            place = state->place;
        }
        // Taken one after the other: the window takes the watch's lock first.
        if (place.isEmpty()) return;
        std::lock_guard<std::mutex> stuckLock(shared->mutex);
        if (--shared->stuck[place] == 0) shared->stuck.erase(place);
        shared->answered = true;
    }).detach();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs_);
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->done) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        state->ended.wait_for(lock, std::min<std::chrono::steady_clock::duration>(
                                        deadline - now, std::chrono::milliseconds(20)));
        if (state->done) break;
        lock.unlock();
        if (waiting_) waiting_();
        lock.lock();
    }
    if (state->done) {
        answer = std::move(state->answer);
        return true;
    }
    // The place that does not answer: its mount, or the drive when that lies
    // deeper, so that a drive on a mount of its own stands alone.
    const QByteArray mount = mountPointOf(hostPath);
    state->place =
        driveRoot.size() > mount.size() && below(hostPath, driveRoot) ? driveRoot : mount;
    std::lock_guard<std::mutex> stuckLock(shared_->mutex);
    ++shared_->stuck[state->place];
    shared_->late[key] = state;
    return false;
}

}  // namespace dosfs
