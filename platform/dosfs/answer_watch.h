#pragma once
// Calls into the host that the window's thread makes (resolving a path,
// reading a folder for the folder tree or the file list) may wait on a
// device: a network or FUSE mount whose server is slow or has stopped
// answering holds a stat for as long as it is away. Each such call runs on a
// thread of its own and is waited for a short time, the window repainting
// meanwhile. One that has not answered by then is left to finish alone:
// until it has, its mount counts as not answering, and calls for paths below
// it fail at once, so the window stays idle and can end. Its answer, when it
// comes, is kept for the next call of the same kind (the same key), and
// lateAnswers() tells the window to ask again.

#include "platform/dosfs/mount_table.h"

#include <QByteArray>

#include <any>
#include <functional>
#include <memory>

namespace dosfs {

class AnswerWatch {
  public:
    // `waiting` runs every 20 ms while a call is waited for (the window
    // repaints there); it must not make calls of its own through the watch.
    AnswerWatch(int limitMs, std::function<void()> waiting);
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    // Runs `call`, which must own everything it touches, for a path below
    // `hostPath` whose drive lies at `driveRoot`, and puts what it returns in
    // `answer`. A late answer to an earlier call of the same key is taken
    // instead, at once. Returns false when the path does not answer.
    bool ask(const QByteArray& key, const QByteArray& hostPath, const QByteArray& driveRoot,
             std::function<std::any()> call, std::any& answer);
    // Whether calls for hostPath fail at once.
    bool notAnswering(const QByteArray& hostPath) const;
    // True once after a call that was not waited for has answered.
    bool lateAnswers();

  private:
    struct Shared;
    int limitMs_;
    std::function<void()> waiting_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace dosfs
