#include "cli/options.h"

#include "cli/row_writers.h"
#include "engine/line_layout.h"
#include "engine/snapshot_find.h"
#include "platform/readers/read_ahead.h"

namespace cli {
namespace {

// A whole number from `low` to `high`.
bool parseNumber(const QByteArray& text, long long low, long long high, int& number) {
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    if (!ok || value < low || value > high) return false;
    number = static_cast<int>(value);
    return true;
}

constexpr long long kMaxWidth = 10'000'000;
constexpr long long kMaxThreads = 256;
constexpr long long kMinPixels = 16;
constexpr long long kMaxPixels = 16384;

}  // namespace

QString usageText() {
    return QStringLiteral(
               "usage: tolan-list [--mode totals|plain|folders] [--type 1|2] [--ext TEXT]\n"
               "                  [--width TWIPS] [--drive X:=HOSTDIR]... [--encoding "
               "cp932|utf-8]\n"
               "                  [--threads N] [--listing KIND [--csv] | --format jsonl]\n"
               "                  [--format pdf] [--exclude PATTERN]... [--exclude-from FILE]\n"
               "                  [-o FILE] [FOLDER]\n"
               "       tolan-list --compare OLD.jsonl [--format jsonl] [--encoding ENC] [-o FILE]\n"
               "                  [FOLDER | NEW.jsonl]\n"
               "       tolan-list --from SNAPSHOT.jsonl [listing options as above]\n"
               "       tolan-list --graph FILE.svg|FILE.png [--width PX --height PX] [FOLDER]\n"
               "       tolan-list --find PATTERN [--format jsonl] [--encoding ENC] [-o FILE]\n"
               "                  SNAPSHOT...\n"
               "Lists the folder tree below FOLDER (a DOS path such as C:\\work, or a host path;\n"
               "default the current folder) as the work file of a scan holds it.\n"
               "  --mode MODE        totals: files with folder totals (default); plain: files "
               "only;\n"
               "                     folders: folder sizes\n"
               "  --type 1|2         1: full paths (default); 2: bare names with dates\n"
               "  --ext TEXT         extension filter as typed, without the dot (default *: every "
               "file)\n"
               "  --width TWIPS      main window width that sets the column widths, 0 to %1\n"
               "                     (default %2)\n"
               "  --drive X:=DIR     map drive X: to host folder DIR, which must exist; repeat "
               "for\n"
               "                     more drives, each letter once\n"
               "  --encoding ENC     cp932 (default) or utf-8\n"
               "  --threads N        threads that read folders, fixed, 1 to %3 (default: as many\n"
               "                     as the device calls for: one for each processor while reads\n"
               "                     are quick, up to %4 while they wait on a disk or a server;\n"
               "                     1: the listing's own thread alone); the listing is the same\n"
               "  --exclude PATTERN  leave out what PATTERN names, in every output; a folder left\n"
               "                     out is never read. Without '/' it matches a file or folder\n"
               "                     name at any level; with '/' the path below FOLDER (a leading\n"
               "                     '/' anchors it there); a trailing '/' matches folders only;\n"
               "                     '*', '?', '[...]' ('[!...]' negated) as in the shell, '**'\n"
               "                     for any number of folders; case as on disk. Repeatable. What\n"
               "                     was left out is counted on standard error. E.g. a project\n"
               "                     without its repository and packages:\n"
               "                       tolan-list --exclude .git/ --exclude node_modules/ ~/app\n"
               "  --exclude-from FILE  the patterns of FILE, one a line ('#' starts a comment\n"
               "                     line; blank lines are skipped)\n"
               "  --listing KIND     write the records of a listing file instead (as the window's\n"
               "                     menu ファイル出力 does), one for each file of the scan:\n"
               "                       path-size-date         (FileName+Size+Date, TOLAN)\n"
               "                         C:\\work\\a.txt,1200,2024/01/05 5:07:09\n"
               "                       folder-name-size-date  (FileName+Size+Date(Directry分離), "
               "TOLAN0)\n"
               "                         C:\\work,a.txt,1200,2024/01/05 5:07:09\n"
               "                       path-size              (FileName+Size, TOLAN1)\n"
               "                         C:\\work\\a.txt,1200\n"
               "                       path-date              (FileName+Date, TOLAN2)\n"
               "                         C:\\work\\a.txt,2024/01/05 5:07:09\n"
               "                       path                   (FileName, TOLAN3)\n"
               "                         C:\\work\\a.txt\n"
               "  --csv              the CSV form of the listing: each field quoted\n"
               "  --format jsonl     one JSON object a line for each file, at every level below\n"
               "                     FOLDER (text listings stop eight levels down): folder and\n"
               "                     name as DOS and host paths, path (the host path below\n"
               "                     FOLDER, '/' between parts), size, mtime (ISO 8601), the\n"
               "                     column texts; a snapshot for --compare;\n"
               "                     host bytes that are not UTF-8 are escaped as \\udc80-\\udcff\n"
               "                     (e.g. tolan-list --format jsonl C:\\ | jq -r 'select(.size >\n"
               "                     1000000) | .host_folder + \"/\" + .host_name')\n"
               "  --format pdf       the lines printed on pages, as the window prints them: the\n"
               "                     fixed-width font (IPAGothic, embedded; the text can be\n"
               "                     selected and searched) as large as lets the longest line fit\n"
               "                     (6 to 10 points; a longer line is cut and ends in ' ..'), "
               "the\n"
               "                     folder and the scan's time at the head of each page and 'n / "
               "m'\n"
               "                     at its foot, on A4 (Letter where the locale measures in\n"
               "                     inches), portrait; with --listing KIND, that listing's "
               "records;\n"
               "                     needs -o FILE.pdf or standard output that is not a terminal\n"
               "  --compare OLD      compare the snapshot OLD (what --format jsonl wrote) with\n"
               "                     FOLDER scanned now, or with the snapshot NEW.jsonl: each\n"
               "                     folder that changed, its files added (+), removed (-) and\n"
               "                     changed (*: size or time) with size and date before and\n"
               "                     after, its files and KB before and after, and a last line of\n"
               "                     counts and bytes; with --format jsonl one object a change\n"
               "                     (change, path, old_size, new_size, old_mtime, new_mtime).\n"
               "                     Paths are taken below the folder, so a copy elsewhere\n"
               "                     compares with the original; times as instants. E.g.\n"
               "                       tolan-list --format jsonl -o src.jsonl /data/src\n"
               "                       cp -a /data/src /mnt/backup/src\n"
               "                       tolan-list --compare src.jsonl /mnt/backup/src && echo "
               "complete\n"
               "  --from SNAPSHOT    list the folder as it was when the snapshot (what --format\n"
               "                     jsonl wrote) was taken, without reading it: the same bytes\n"
               "                     its scan then gave, banner time and drives included, with\n"
               "                     any of --mode, --type, --ext, --width, --listing, --csv,\n"
               "                     --encoding, --format pdf and --graph; the folder need not\n"
               "                     exist. A snapshot found wrong is named with its line\n"
               "  --graph FILE       draw the occupancy graph of the folder instead: a squarified\n"
               "                     treemap, a rectangle's area in proportion to the bytes below\n"
               "                     it, as the window's menu 占有グラフ shows it; FILE.svg or\n"
               "                     FILE.png, --width and --height in pixels, 16 to 16384\n"
               "                     (default 1024 x 768). In the SVG each rectangle has a "
               "<title>\n"
               "                     with its path relative to FOLDER ('/'-separated, '.' for\n"
               "                     FOLDER, '*' for small files merged into one rectangle), a "
               "tab\n"
               "                     and its size in bytes\n"
               "  --find PATTERN     list the files of the snapshots SNAPSHOT... (what --format\n"
               "                     jsonl wrote) whose name matches the glob PATTERN ('*' any\n"
               "                     text, '?' one character, [abc] one of a set, '\\' before one\n"
               "                     of them finds it); a PATTERN with a '/' matches the path\n"
               "                     below the folder instead ('*' then stays within one folder);\n"
               "                     upper and lower case differ. A line a file: its size, date,\n"
               "                     the snapshot and the file as a DOS path in the folder the\n"
               "                     snapshot was taken of; with --format jsonl one object a file\n"
               "                     (snapshot, folder, host_folder, path, size, mtime). E.g.\n"
               "                       tolan-list --format jsonl -o backup.jsonl /media/backup\n"
               "                       tolan-list --find '*.odt' *.jsonl\n"
               "  -o FILE            write to FILE instead of standard output; FILE is replaced\n"
               "                     only when complete (a device or a pipe is written to)\n"
               "  --help             show this help\n"
               "  --version          show the version\n"
               "Exit status: 0 the listing was written; 1 the folder could not be listed or the\n"
               "output not written; 2 the command line was wrong; 128+N signal N ended the run.\n"
               "With --compare, as diff: 0 nothing changed; 1 something did; 2 trouble (a\n"
               "snapshot that cannot be read, named with its line, a folder that cannot be\n"
               "listed, the output not written).\n"
               "With --find, as grep: 0 a file was found; 1 none was; 2 trouble (a snapshot\n"
               "that cannot be read, named with its line; the others are still searched).\n")
        .arg(kMaxWidth)
        .arg(engine::kDesignWindowWidth)
        .arg(kMaxThreads)
        .arg(readers::ReadAhead::kMostReaders);
}

namespace {

using Apply = bool (*)(const QByteArray& value, Options& out, QString& error);

bool refuse(QString& error, const QString& message) {
    error = message;
    return false;
}

// The KIND names of --listing, as "a, b or c".
QString listingKindNames() {
    QString names;
    for (int k = 0; k < kListingKindCount; ++k)
        names += (k == 0                      ? ""
                  : k + 1 < kListingKindCount ? ", "
                                              : " or ") +
                 QString::fromLatin1(kListingKinds[k].name);
    return names;
}

// --graph and its height; the width is settled once every option is read.
bool applyGraphValue(const QByteArray& name, const QByteArray& v, Options& out, QString& error) {
    const QString given = QString::fromLocal8Bit(v);
    if (name == "--graph") {
        const QByteArray lower = v.toLower();
        if (lower.endsWith(".svg") || lower.endsWith(".png")) return out.graph = v, true;
        error = QStringLiteral("--graph takes FILE.svg or FILE.png, not '%1'").arg(given);
        return false;
    }
    if (parseNumber(v, kMinPixels, kMaxPixels, out.graphHeight)) return true;
    error = QStringLiteral("--height takes a whole number of pixels from %1 to %2, not '%3'")
                .arg(kMinPixels)
                .arg(kMaxPixels)
                .arg(given);
    return false;
}

// With --graph, --width is the picture's width in pixels and no other
// output goes with it.
bool settleGraph(Options& out, QString& error) {
    if (out.graph.isEmpty()) return true;
    if (out.listing >= 0 || out.jsonLines || out.pdf || !out.output.isEmpty())
        return refuse(error,
                      "--graph writes the graph alone: it goes without --listing, "
                      "--format and -o");
    if (!out.widthGiven) return true;
    if (out.width < kMinPixels || out.width > kMaxPixels)
        return refuse(error, QStringLiteral("--width with --graph takes a whole number of pixels "
                                            "from %1 to %2")
                                 .arg(kMinPixels)
                                 .arg(kMaxPixels));
    out.graphWidth = out.width;
    out.width = Options().width;
    return true;
}

bool applyMode(const QByteArray& v, Options& out, QString& error) {
    if (v == "totals")
        out.mode = engine::ScanMode::Totals;
    else if (v == "plain")
        out.mode = engine::ScanMode::Plain;
    else if (v == "folders")
        out.mode = engine::ScanMode::Folders;
    else
        return refuse(error, "--mode takes totals, plain or folders");
    return true;
}

bool applyWidth(const QByteArray& v, Options& out, QString& error) {
    out.widthGiven = true;
    if (parseNumber(v, 0, kMaxWidth, out.width)) return true;
    return refuse(error,
                  QStringLiteral("--width takes a whole number of twips from 0 to %1, not '%2'")
                      .arg(kMaxWidth)
                      .arg(QString::fromLocal8Bit(v)));
}

bool applyThreads(const QByteArray& v, Options& out, QString& error) {
    if (parseNumber(v, 1, kMaxThreads, out.threads)) return true;
    return refuse(error, QStringLiteral("--threads takes a whole number from 1 to %1, not '%2'")
                             .arg(kMaxThreads)
                             .arg(QString::fromLocal8Bit(v)));
}

bool applyDrive(const QByteArray& v, Options& out, QString& error) {
    const QString given = QString::fromLocal8Bit(v);
    const bool ok = v.size() >= 4 && v[1] == ':' && v[2] == '=' && v[3] == '/' &&
                    QChar(v[0]).isLetter() && static_cast<unsigned char>(v[0]) < 0x80;
    if (!ok)
        return refuse(error, QStringLiteral("--drive takes X:=/absolute/folder (a letter, ':=' "
                                            "and a folder from '/'), not '%1'")
                                 .arg(given));
    // A second mapping of a letter would silently replace the first.
    for (const QByteArray& earlier : out.drives)
        if (QChar(earlier[0]).toUpper() == QChar(v[0]).toUpper())
            return refuse(error, QStringLiteral("--drive gives %1: twice (%2 and %3); give each "
                                                "letter once")
                                     .arg(QChar(v[0]).toUpper())
                                     .arg(QString::fromLocal8Bit(earlier), given));
    out.drives.append(v);
    return true;
}

bool applyListing(const QByteArray& v, Options& out, QString& error) {
    for (int k = 0; k < kListingKindCount; ++k)
        if (v == kListingKinds[k].name) out.listing = k;
    return out.listing >= 0 || refuse(error, "--listing takes " + listingKindNames());
}

bool applyOutput(const QByteArray& v, Options& out, QString& error) {
    if (v.isEmpty()) return refuse(error, "-o needs a file name");
    out.output = v;
    return true;
}

// Every option: its name, whether a value follows it, and what it does.
const struct Option {
    const char* name;
    bool takesValue;
    Apply apply;
} kOptions[] = {
    {"--mode", true, applyMode},
    {"--type", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v != "1" && v != "2") return refuse(error, "--type takes 1 or 2");
         out.type = v == "2" ? engine::ListType::Names : engine::ListType::FullPaths;
         return true;
     }},
    {"--ext", true,
     [](const QByteArray& v, Options& out, QString&) {
         out.ext = QString::fromUtf8(v);
         return true;
     }},
    {"--width", true, applyWidth},
    {"--threads", true, applyThreads},
    {"--drive", true, applyDrive},
    {"--encoding", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v == "cp932")
             out.encoding = dosfs::Encoding::Cp932;
         else if (v == "utf-8" || v == "utf8")
             out.encoding = dosfs::Encoding::Utf8;
         else
             return refuse(error, "--encoding takes cp932 or utf-8");
         return true;
     }},
    {"--listing", true, applyListing},
    {"--format", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v != "text" && v != "jsonl" && v != "pdf")
             return refuse(error, "--format takes text, jsonl or pdf");
         out.jsonLines = v == "jsonl";
         out.pdf = v == "pdf";
         return true;
     }},
    {"--compare", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v.isEmpty())
             return refuse(error, "--compare needs a snapshot (a file of --format jsonl)");
         out.compare = v;
         return true;
     }},
    {"--from", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v.isEmpty())
             return refuse(error, "--from needs a snapshot (a file of --format jsonl)");
         out.from = v;
         return true;
     }},
    {"--find", true,
     [](const QByteArray& v, Options& out, QString& error) {
         const QString trouble = engine::patternTrouble(v);
         if (!trouble.isEmpty()) return refuse(error, QStringLiteral("--find: ") + trouble);
         out.find = v;
         return true;
     }},
    {"--graph", true,
     [](const QByteArray& v, Options& out, QString& error) {
         return applyGraphValue("--graph", v, out, error);
     }},
    {"--height", true,
     [](const QByteArray& v, Options& out, QString& error) {
         return applyGraphValue("--height", v, out, error);
     }},
    {"--exclude", true,
     [](const QByteArray& v, Options& out, QString&) {
         out.excludes.append({v, false});
         return true;
     }},
    {"--exclude-from", true,
     [](const QByteArray& v, Options& out, QString& error) {
         if (v.isEmpty()) return refuse(error, "--exclude-from needs a file of patterns");
         out.excludes.append({v, true});
         return true;
     }},
    {"-o", true, applyOutput},
    {"--output", true, applyOutput},
    {"--csv", false, [](const QByteArray&, Options& out, QString&) { return out.csv = true; }},
    {"--help", false, [](const QByteArray&, Options& out, QString&) { return out.help = true; }},
    {"-h", false, [](const QByteArray&, Options& out, QString&) { return out.help = true; }},
    {"--version", false,
     [](const QByteArray&, Options& out, QString&) { return out.version = true; }},
};

const Option* optionNamed(const QByteArray& arg) {
    for (const Option& option : kOptions)
        if (arg == option.name) return &option;
    return nullptr;
}

// The words that are not options: the SNAPSHOTs of --find, else one FOLDER.
bool settleOperands(Options& out, QString& error) {
    if (out.find.isEmpty()) {
        for (const QByteArray& arg : out.snapshots)
            if (arg.isEmpty())
                return refuse(error,
                              "FOLDER is empty; give a folder, or none for the current folder");
        if (out.snapshots.size() > 1) return refuse(error, "only one FOLDER may be given");
        out.folder = out.snapshots.value(0);
        out.snapshots.clear();
        return true;
    }
    if (out.listing >= 0 || out.pdf || !out.graph.isEmpty() || !out.compare.isEmpty() ||
        !out.from.isEmpty())
        return refuse(error,
                      "--find writes text or --format jsonl: it goes without --compare, --from, "
                      "--listing, --graph and --format pdf");
    if (out.snapshots.isEmpty())
        return refuse(error, "--find needs a SNAPSHOT or more (files --format jsonl wrote)");
    if (out.snapshots.contains(QByteArray())) return refuse(error, "a SNAPSHOT is empty");
    return true;
}

}  // namespace

bool parseOptions(const QList<QByteArray>& args, Options& out, QString& error) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        QByteArray arg = args[i];
        QByteArray value;
        bool hasValue = false;
        if (arg.startsWith("--") && arg.contains('=')) {
            const qsizetype eq = arg.indexOf('=');
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasValue = true;
        }
        const Option* option = optionNamed(arg);
        if (option && option->takesValue) {
            if (!hasValue && i + 1 >= args.size())
                return refuse(
                    error,
                    QStringLiteral("option %1 needs a value").arg(QString::fromLocal8Bit(arg)));
            if (!option->apply(hasValue ? value : args[++i], out, error)) return false;
        } else if (option) {
            option->apply({}, out, error);
        } else if (arg.startsWith('-') && arg.size() > 1) {
            return refuse(error,
                          QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(arg)));
        } else {
            out.snapshots.append(arg);
        }
    }
    if (!settleOperands(out, error)) return false;
    if (out.csv && out.listing < 0)
        return refuse(error, "--csv goes with --listing KIND (" + listingKindNames() + ")");
    if (!out.compare.isEmpty() && (out.listing >= 0 || out.pdf))
        return refuse(error,
                      "--compare writes text or --format jsonl, not --listing or --format pdf");
    if (!out.from.isEmpty() && !out.compare.isEmpty())
        return refuse(error, "--from and --compare exclude each other");
    if (!out.from.isEmpty() && !out.folder.isEmpty())
        return refuse(error, "--from lists the snapshot's folder: give no FOLDER with it");
    if (!out.from.isEmpty() && !out.excludes.isEmpty())
        return refuse(error,
                      "--from lists what the snapshot holds: it was made with its own "
                      "exclusion patterns, and takes no --exclude");
    if (!out.from.isEmpty() && out.jsonLines)
        return refuse(error, "--from makes listings; the snapshot is its own JSON lines");
    if (!settleGraph(out, error)) return false;
    if (out.jsonLines && out.listing >= 0)
        return refuse(error, "--format jsonl and --listing exclude each other");
    return true;
}

}  // namespace cli
