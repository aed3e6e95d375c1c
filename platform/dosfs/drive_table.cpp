#include "platform/dosfs/drive_table.h"

#include "platform/dosfs/host_name.h"

#include <QList>

#include <pwd.h>
#include <unistd.h>
#include <cstdlib>

namespace dosfs {
namespace {

QByteArray homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

}  // namespace

QByteArray normalizedHostFolder(const QByteArray& folder) {
    QList<QByteArray> parts;
    for (const QByteArray& part : folder.split('/')) {
        if (part.isEmpty() || part == ".") continue;
        if (part == "..") {
            if (!parts.isEmpty()) parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QByteArray out;
    for (const QByteArray& part : parts) out += '/' + part;
    return out.isEmpty() ? QByteArray("/") : out;
}

DriveTable DriveTable::defaults() {
    DriveTable t;
    t.set(u'C', homeFolder());
    t.set(u'Z', "/");
    return t;
}

void DriveTable::set(QChar letter, const QByteArray& hostFolder) {
    drives_[letter.toUpper().unicode()] = normalizedHostFolder(hostFolder);
    if (letter.toUpper().unicode() == ownLetter_) ownLetter_ = 0;
}

QChar DriveTable::setOwnDrive(const QByteArray& hostFolder) {
    ownLetter_ = 0;
    for (char16_t letter = u'Z'; letter >= u'A'; --letter) {
        if (drives_.count(letter)) continue;
        ownLetter_ = letter;
        ownFolder_ = normalizedHostFolder(hostFolder);
        return QChar(letter);
    }
    return QChar();
}

bool DriveTable::addMapping(const QByteArray& mapping) {
    if (mapping.size() < 4 || mapping[1] != ':' || mapping[2] != '=' || mapping[3] != '/')
        return false;
    const char letter = mapping[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return false;
    set(QChar(letter), mapping.mid(3));
    return true;
}

bool DriveTable::parse(const QByteArray& text, std::vector<BadLine>* bad) {
    DriveTable read;
    int number = 0;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0) end = text.size();
        const QByteArray line = text.mid(at, end - at).trimmed();
        at = end + 1;
        ++number;
        // Only a line that starts with '#' is a comment: a folder's name
        // may hold one.
        if (line.isEmpty() || line.startsWith('#')) continue;
        const bool repeated = read.contains(QChar(line[0]));
        if (!repeated && read.addMapping(line)) continue;
        if (bad) bad->push_back({number, line, repeated && DriveTable().addMapping(line)});
    }
    if (read.isEmpty()) return false;
    *this = read;
    return true;
}

bool DriveTable::contains(QChar letter) const {
    return drives_.count(letter.toUpper().unicode()) != 0;
}

QByteArray DriveTable::hostFolder(QChar letter) const {
    const auto it = drives_.find(letter.toUpper().unicode());
    if (it != drives_.end()) return it->second;
    return ownLetter_ && letter.toUpper().unicode() == ownLetter_ ? ownFolder_ : QByteArray();
}

QList<QChar> DriveTable::letters() const {
    QList<QChar> out;
    for (const auto& [letter, folder] : drives_) out.append(QChar(letter));
    return out;
}

QString DriveTable::chooserEntry(QChar letter) const {
    const QByteArray folder = hostFolder(letter);
    QString entry = QString(letter.toLower()) + u':';
    const qsizetype slash = folder.lastIndexOf('/');
    const QByteArray name = folder.mid(slash + 1);
    if (!name.isEmpty()) entry += QStringLiteral(" [") + decodeHostName(name) + u']';
    return entry;
}

QStringList DriveTable::chooserEntries() const {
    QStringList out;
    for (QChar letter : letters()) out.append(chooserEntry(letter));
    return out;
}

}  // namespace dosfs
