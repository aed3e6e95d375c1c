#include "cli/scan_report.h"

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

void ScanReport::folderEntered(const QString&) {
    ++folders_;
    if (progress_) report(false);
}

void ScanReport::fileListed() {
    ++files_;
    if (progress_ && (files_ & 1023) == 0) report(false);
}

void ScanReport::folderUnreadable(const QString& path, int error) {
    if (++unreadableCount_ <= kNamedUnreadable)
        unreadable_.append(path + QStringLiteral(": ") +
                           QString::fromLatin1(dosfs::errorText(error)));
}

void ScanReport::reportUnreadable(FILE* to) const {
    if (unreadableCount_ == 0) return;
    std::fprintf(to, "tolan-list: %lld %s could not be read; listed without files:\n",
                 unreadableCount_, unreadableCount_ == 1 ? "folder" : "folders");
    for (const QString& folder : unreadable_)
        std::fprintf(to, "tolan-list:   %s\n", folder.toLocal8Bit().constData());
    if (const long long more = unreadableCount_ - unreadable_.size(); more > 0)
        std::fprintf(to, "tolan-list:   and %lld more\n", more);
}

void ScanReport::report(bool force) {
    const long long t = nowMs();
    if (!force && t - lastReport_ < 100) return;
    lastReport_ = t;
    std::fprintf(progress_, "\r%lld folders, %lld files", folders_, files_);
    std::fflush(progress_);
    shown_ = true;
}

void ScanReport::clearProgress() {
    if (!progress_ || !shown_) return;
    std::fprintf(progress_, "\r\033[K");
    std::fflush(progress_);
    shown_ = false;
}

}  // namespace cli
