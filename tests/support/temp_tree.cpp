#include "tests/support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The type of the file system that holds `folder`, from the mount table.
std::string fileSystemType(const std::string& folder) {
    std::ifstream mounts("/proc/self/mounts");
    std::string device, point, type, rest, found;
    size_t best = 0;
    while (mounts >> device >> point >> type && std::getline(mounts, rest)) {
        const bool holds = folder == point || point == "/" ||
                           (folder.compare(0, point.size(), point) == 0 &&
                            folder.size() > point.size() && folder[point.size()] == '/');
        if (holds && point.size() >= best) best = point.size(), found = type;
    }
    return found;
}

// /dev/shm when it is a tmpfs of its own with room for a few hundred
// thousand entries. Where it is only a folder of /dev (devtmpfs, as in a
// chroot that binds /dev alone), the scan takes it for a virtual file system
// and reads nothing there, so the trees go to the temporary folder instead.
fs::path memoryFolder() {
    std::error_code ec;
    struct statvfs room {};
    if (fs::is_directory("/dev/shm", ec) && fileSystemType("/dev/shm") == "tmpfs" &&
        ::access("/dev/shm", W_OK) == 0 &&
        ::statvfs("/dev/shm", &room) == 0 && room.f_favail >= 300000 &&
        room.f_bavail * room.f_frsize >= (64u << 20))
        return "/dev/shm";
    return fs::temp_directory_path();
}

}  // namespace

TempTree::TempTree() : TempTree(fs::temp_directory_path()) {}

TempTree::TempTree(InMemory) : TempTree(memoryFolder()) {}

TempTree::TempTree(const std::filesystem::path& base) {
    std::string pattern = (base / "tolan-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    top_ = QByteArray(pattern.c_str());
    root_ = top_ + "/root";
    ::mkdir(root_.constData(), 0755);
}

TempTree::~TempTree() {
    // rm walks any depth; the deep trees some tests build defeat path-based removal.
    const std::string command = "rm -rf '" + top_.toStdString() + "'";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << top_.constData();
}

void TempTree::folder(const QByteArray& rel) {
    std::error_code ec;
    fs::create_directories(fs::path(path(rel).toStdString()), ec);
    ASSERT_FALSE(ec) << rel.constData() << ": " << ec.message();
}

void TempTree::file(const QByteArray& rel, qint64 size, qint64 mtime) {
    const qsizetype slash = rel.lastIndexOf('/');
    if (slash > 0) folder(rel.left(slash));
    const QByteArray p = path(rel);
    const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << p.constData();
    ASSERT_EQ(ftruncate(fd, size), 0);
    ::close(fd);
    const timeval times[2] = {{static_cast<time_t>(mtime), 0}, {static_cast<time_t>(mtime), 0}};
    ASSERT_EQ(utimes(p.constData(), times), 0);
}

void TempTree::link(const QByteArray& rel, const QByteArray& target) {
    ASSERT_EQ(::symlink(target.constData(), path(rel).constData()), 0) << rel.constData();
}

void TempTree::remove(const QByteArray& rel) {
    std::error_code ec;
    fs::remove_all(fs::path(path(rel).toStdString()), ec);
}

void TempTree::deepFolders(const QByteArray& name, int levels, const QByteArray& fileName) {
    int fd = ::open(root_.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < levels; ++i) {
        ASSERT_EQ(::mkdirat(fd, name.constData(), 0755), 0);
        const int child = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(child, 0);
        fd = child;
    }
    const int file = ::openat(fd, fileName.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ::close(file);
    ::close(fd);
}
