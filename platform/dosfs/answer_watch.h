#pragma once
// Calls into the host that the window's thread makes (resolving a path,
// reading a folder for the folder tree or the file list) may wait on a
// device: a network or FUSE mount whose server stopped answering holds a
// stat for as long as it is away. Each such call runs on a thread of its
// own and is waited for a short time, the window repainting meanwhile. One
// that has not answered by then is left to finish alone; until it has, its
// mount counts as not answering, and later calls for paths below it fail at
// once with kNotAnswering, so the window stays idle and can end.

#include <QByteArray>

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
    // `hostPath` whose drive lies at `driveRoot`. Returns false, without
    // having run it or without waiting for it to end, when that path does
    // not answer.
    bool run(const QByteArray& hostPath, const QByteArray& driveRoot, std::function<void()> call);
    // Whether calls for hostPath fail at once.
    bool notAnswering(const QByteArray& hostPath) const;

  private:
    struct Shared;
    int limitMs_;
    std::function<void()> waiting_;
    std::shared_ptr<Shared> shared_;
};

// The mount point that holds hostPath, from the mount table; "/" when none
// is known. Reads no folder of the mount itself.
QByteArray mountPointOf(const QByteArray& hostPath);

}  // namespace dosfs
