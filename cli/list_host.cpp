#include "cli/list_host.h"

#include "engine/renderings.h"
#include "platform/dosfs/errors.h"

#include <ctime>

namespace cli {
namespace {

long long nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

}  // namespace

void ListHost::addSideARow(const QString& path, const QString& size, const QString& date) {
    path_ = &path;
    size_ = &size;
    date_ = &date;
    ++files_;
    if (progress_ && (files_ & 1023) == 0) report(false);
}

void ListHost::fileEntry(const QString& folderPath, const QByteArray& hostFolder,
                         const dosfs::DirEntry& entry) {
    if (rows_) rows_->row(*path_, *size_, *date_, folderPath, hostFolder, entry);
    if (graph_) graph_->file(entry.name, engine::sizeValue(entry.size));
}

void ListHost::folderEntered(const QString& path) {
    if (graph_) graph_->folder(path);
    ++folders_;
    if (progress_) report(false);
}

void ListHost::folderUnreadable(const QString& path, const QByteArray& hostPath, int error) {
    if (rows_) rows_->folderUnreadable(hostPath);
    if (++unreadableCount_ <= kNamedUnreadable)
        unreadable_.append(path + QStringLiteral(": ") +
                           QString::fromLatin1(dosfs::errorText(error)));
}

void ListHost::reportUnreadable(FILE* to) const {
    if (unreadableCount_ == 0) return;
    std::fprintf(to, "tolan-list: %lld %s could not be read; listed without files:\n",
                 unreadableCount_, unreadableCount_ == 1 ? "folder" : "folders");
    for (const QString& folder : unreadable_)
        std::fprintf(to, "tolan-list:   %s\n", folder.toLocal8Bit().constData());
    if (const long long more = unreadableCount_ - unreadable_.size(); more > 0)
        std::fprintf(to, "tolan-list:   and %lld more\n", more);
}

void ListHost::report(bool force) {
    const long long t = nowMs();
    if (!force && t - lastReport_ < 100) return;
    lastReport_ = t;
    std::fprintf(progress_, "\r%lld folders, %lld files", folders_, files_);
    std::fflush(progress_);
    shown_ = true;
}

void ListHost::clearProgress() {
    if (!progress_ || !shown_) return;
    std::fprintf(progress_, "\r\033[K");
    std::fflush(progress_);
    shown_ = false;
}

}  // namespace cli
