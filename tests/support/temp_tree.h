#pragma once
// A folder tree built in a temporary folder for one test, removed after it.

#include <QByteArray>
#include <QString>

#include "tests/support/qt_print.h"

#include <cstdint>
#include <filesystem>

class TempTree {
  public:
    TempTree();  // creates <tmp>/tolan-XXXXXX/root
    // The same in memory (/dev/shm) where there is one, for trees of very
    // many folders that a disk creates slowly.
    struct InMemory {};
    explicit TempTree(InMemory);
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Host path of the root folder (the "root" folder inside the temporary one).
    const QByteArray& root() const { return root_; }
    QByteArray path(const QByteArray& rel) const {
        return rel.isEmpty() ? root_ : root_ + '/' + rel;
    }

    // Creates parent folders as needed. Sizes are made sparse; the time is
    // seconds since the epoch (UTC in the tests); the default is 2024/01/05 5:07:09.
    void file(const QByteArray& rel, qint64 size = 0, qint64 mtime = 1704431229);
    void folder(const QByteArray& rel);
    void link(const QByteArray& rel, const QByteArray& target);
    void remove(const QByteArray& rel);
    // `levels` nested folders of one name below the root, with an empty file
    // at the bottom, made relative to each other so the host path may exceed
    // what a single call could name.
    void deepFolders(const QByteArray& name, int levels, const QByteArray& fileName);

  private:
    explicit TempTree(const std::filesystem::path& base);

    QByteArray top_;
    QByteArray root_;
};
