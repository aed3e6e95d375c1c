#include "engine/exclusions.h"

#include "engine/name_glob.h"

#include <QSet>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {
namespace {

struct Pattern {
    std::vector<NameGlob> parts;
    bool foldersOnly = false;
    bool path = false;  // matched against the whole path below the folder listed
};

struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};
// Places of patterns by a text: the least place for a name or suffix.
using Places = std::unordered_map<std::string, int, ViewHash, std::equal_to<>>;
using PlaceLists = std::unordered_map<std::string, std::vector<int>, ViewHash, std::equal_to<>>;

std::string_view view(QByteArrayView b) {
    return {b.data(), std::size_t(b.size())};
}

// Splits at "/"; empty parts ("a//b", a leading or trailing "/") are dropped.
std::vector<QByteArrayView> partsOf(QByteArrayView path) {
    std::vector<QByteArrayView> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') {
            if (i > start) parts.push_back(path.sliced(start, i - start));
            start = i + 1;
        }
    return parts;
}

}  // namespace

// Patterns sorted so that a name meets only the few that may match it:
// whole names and "*suffix" by table, the rest by their first byte.
struct Exclusions::Compiled {
    std::vector<Pattern> all;
    Places names[2], suffixes[2];  // [0] any entry, [1] folders only
    std::vector<qsizetype> suffixLengths;
    std::vector<int> byFirstByte[256];
    std::vector<int> otherNames;
    PlaceLists pathsByName;   // path patterns whose last part is a whole name
    PlaceLists pathsByFirst;  // the others whose first part is one
    std::vector<int> otherPaths;

    void index(int place);
    bool pathMatches(const Pattern& p, std::size_t part,
                     const std::vector<std::vector<std::uint32_t>>& names, std::size_t at) const;
};

void Exclusions::Compiled::index(int place) {
    const Pattern& p = all[std::size_t(place)];
    const NameGlob& last = p.parts.back();
    if (p.path) {
        if (last.literal())
            pathsByName[last.text().toStdString()].push_back(place);
        else if (p.parts[0].literal())
            pathsByFirst[p.parts[0].text().toStdString()].push_back(place);
        else
            otherPaths.push_back(place);
        return;
    }
    const int k = p.foldersOnly ? 1 : 0;
    if (last.literal() || last.starSuffix()) {
        Places& table = last.literal() ? names[k] : suffixes[k];
        const std::string key = (last.literal() ? last.text() : last.suffix()).toStdString();
        table.emplace(key, place);  // an earlier place stays
        if (last.starSuffix() && std::find(suffixLengths.begin(), suffixLengths.end(),
                                           qsizetype(key.size())) == suffixLengths.end())
            suffixLengths.push_back(qsizetype(key.size()));
    } else if (last.firstByte() >= 0) {
        byFirstByte[last.firstByte()].push_back(place);
    } else {
        otherNames.push_back(place);
    }
}

bool Exclusions::Compiled::pathMatches(const Pattern& p, std::size_t part,
                                       const std::vector<std::vector<std::uint32_t>>& names,
                                       std::size_t at) const {
    if (part == p.parts.size()) return at == names.size();
    if (p.parts[part].anyFolders()) {
        for (std::size_t next = at; next <= names.size(); ++next)
            if (pathMatches(p, part + 1, names, next)) return true;
        return false;
    }
    return at < names.size() && p.parts[part].matches(names[at]) &&
           pathMatches(p, part + 1, names, at + 1);
}

QString BadPattern::message() const {
    return QStringLiteral("the pattern \"%1\" %2").arg(QString::fromLocal8Bit(pattern), why);
}

bool Exclusions::compile(const QList<QByteArray>& patterns, Exclusions& out, BadPattern& bad) {
    auto compiled = std::make_shared<Compiled>();
    for (const QByteArray& text : patterns) {
        const auto refuse = [&](const char* why) {
            bad = {text, QString::fromLatin1(why)};
            return false;
        };
        if (text.isEmpty()) return refuse("is empty");
        if (text.contains('\0')) return refuse("holds a NUL byte");
        Pattern p;
        p.foldersOnly = text.endsWith('/');
        const std::vector<QByteArrayView> parts = partsOf(text);
        bool onlyAnyFolders = true;
        for (QByteArrayView part : parts) onlyAnyFolders = onlyAnyFolders && part == "**";
        if (onlyAnyFolders) return refuse("holds only \"/\" and \"**\": it would leave out all");
        p.path = text.startsWith('/') || parts.size() > 1;
        for (QByteArrayView part : parts) {
            QString why;
            p.parts.emplace_back();
            if (!p.parts.back().compile(part, why)) {
                bad = {text, why};
                return false;
            }
        }
        compiled->all.push_back(std::move(p));
        compiled->index(int(compiled->all.size()) - 1);
    }
    out.patterns_ = patterns;
    out.compiled_ = patterns.isEmpty() ? nullptr : std::move(compiled);
    return true;
}

QList<QByteArray> Exclusions::patternLines(const QByteArray& text) {
    QList<QByteArray> lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        lines.append(line);
    }
    return lines;
}

QStringList Exclusions::texts() const {
    QStringList out;
    for (const QByteArray& p : patterns_) out.append(dosfs::decodeHostName(p));
    return out;
}

bool Exclusions::samePatterns(const Exclusions& other) const {
    return samePatterns(patterns_, other.patterns_);
}

bool Exclusions::samePatterns(const QList<QByteArray>& a, const QList<QByteArray>& b) {
    return QSet<QByteArray>(a.begin(), a.end()) == QSet<QByteArray>(b.begin(), b.end());
}

int Exclusions::leaves(QByteArrayView folderBelowRoot, QByteArrayView name, bool folder) const {
    if (!compiled_ || name.isEmpty()) return -1;
    const Compiled& c = *compiled_;
    int best = INT_MAX;
    const auto take = [&](int place) { best = std::min(best, place); };
    for (int k = 0; k <= (folder ? 1 : 0); ++k) {
        if (auto it = c.names[k].find(view(name)); it != c.names[k].end()) take(it->second);
        for (qsizetype length : c.suffixLengths)
            if (length <= name.size())
                if (auto it = c.suffixes[k].find(view(name.last(length)));
                    it != c.suffixes[k].end())
                    take(it->second);
    }
    const std::vector<int>& sameStart = c.byFirstByte[static_cast<unsigned char>(name[0])];
    const auto it = c.pathsByName.find(view(name));
    // The first part below the folder listed: the name itself there.
    const std::string_view below = view(folderBelowRoot);
    const auto byFirst =
        c.pathsByFirst.find(below.empty() ? view(name) : below.substr(0, below.find('/')));
    const bool paths =
        it != c.pathsByName.end() || byFirst != c.pathsByFirst.end() || !c.otherPaths.empty();
    if (sameStart.empty() && c.otherNames.empty() && !paths) return best == INT_MAX ? -1 : best;
    std::vector<std::uint32_t> chars;
    decodeCharacters(name, chars);
    const auto tryName = [&](int place) {
        const Pattern& p = c.all[std::size_t(place)];
        if (place < best && (folder || !p.foldersOnly) && p.parts[0].matches(chars)) take(place);
    };
    for (int place : sameStart) tryName(place);
    for (int place : c.otherNames) tryName(place);
    if (!paths) return best == INT_MAX ? -1 : best;
    std::vector<std::vector<std::uint32_t>> names;
    for (QByteArrayView part : partsOf(folderBelowRoot)) {
        names.emplace_back();
        decodeCharacters(part, names.back());
    }
    names.push_back(std::move(chars));
    const auto tryPath = [&](int place) {
        const Pattern& p = c.all[std::size_t(place)];
        if (place < best && (folder || !p.foldersOnly) && c.pathMatches(p, 0, names, 0))
            take(place);
    };
    if (it != c.pathsByName.end())
        for (int place : it->second) tryPath(place);
    if (byFirst != c.pathsByFirst.end())
        for (int place : byFirst->second) tryPath(place);
    for (int place : c.otherPaths) tryPath(place);
    return best == INT_MAX ? -1 : best;
}

int Exclusions::leavesRoot(QByteArrayView rootHostPath) const {
    if (!compiled_) return -1;
    const std::vector<QByteArrayView> parts = partsOf(rootHostPath);
    if (parts.empty()) return -1;  // the host root has no name
    std::vector<std::uint32_t> chars;
    decodeCharacters(parts.back(), chars);
    for (std::size_t place = 0; place < compiled_->all.size(); ++place) {
        const Pattern& p = compiled_->all[place];
        if (!p.path && p.parts[0].matches(chars)) return int(place);
    }
    return -1;
}

void Exclusions::leaveOut(QByteArrayView folderBelowRoot, dosfs::FolderContents& contents) const {
    if (!compiled_) return;
    const auto sift = [&](std::vector<dosfs::DirEntry>& entries, bool folders) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const QByteArray host = dosfs::hostNameOf(entries[i]);
            const int place = leaves(folderBelowRoot, host, folders);
            if (place >= 0) {
                contents.takenOut.push_back({place, folders});
            } else {
                if (kept != i) entries[kept] = std::move(entries[i]);
                ++kept;
            }
        }
        entries.resize(kept);
    };
    sift(contents.folders, true);
    sift(contents.files, false);
}

void countTakenOut(const dosfs::FolderContents& contents, LeftOutCounts& counts) {
    for (const dosfs::FolderContents::TakenOut& t : contents.takenOut) {
        ++(t.folder ? counts.folders : counts.files);
        if (std::size_t(t.pattern) >= counts.byPattern.size())
            counts.byPattern.resize(std::size_t(t.pattern) + 1);
        ++counts.byPattern[std::size_t(t.pattern)];
    }
}

}  // namespace engine
