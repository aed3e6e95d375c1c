#include "shell/exclusion_file.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/numbered_files.h"

#include <sys/stat.h>

namespace shell {
namespace {

// More than this is no list of patterns.
constexpr qsizetype kMostBytes = 64 * 1024 * 1024;

}  // namespace

QByteArray exclusionFilePath() {
    return dosfs::configFolder() + "/exclude";
}

bool loadExclusions(engine::Exclusions& out, QString& problem) {
    out = {};
    const QByteArray path = exclusionFilePath();
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) return true;
    QByteArray text;
    if (!S_ISREG(st.st_mode) || dosfs::readHead(path, kMostBytes + 1, text) != 0 ||
        text.size() > kMostBytes) {
        problem = QString::fromLocal8Bit(path);
        return false;
    }
    engine::BadPattern bad;
    if (engine::Exclusions::compile(engine::Exclusions::patternLines(text), out, bad)) return true;
    problem =
        QString::fromLocal8Bit(path) + QStringLiteral(": ") + dosfs::decodeHostName(bad.pattern);
    return false;
}

int saveExclusions(const engine::Exclusions& patterns) {
    QByteArray text;
    for (const QByteArray& p : patterns.patterns()) text += p + '\n';
    return dosfs::replaceFile(exclusionFilePath(), text);
}

}  // namespace shell
