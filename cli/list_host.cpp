#include "cli/list_host.h"

#include "engine/renderings.h"

namespace cli {

void ListHost::fileEntry(const QString&, const QByteArray&, const dosfs::DirEntry& entry) {
    if (graph_) graph_->file(entry.name, engine::sizeValue(entry.size));
}

void ListHost::folderEntered(const QString& path) {
    if (graph_) graph_->folder(path);
    report.folderEntered(path);
}

}  // namespace cli
