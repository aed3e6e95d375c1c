#include "cli/options.h"

#include "cli/row_writers.h"

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
        "                  [--width TWIPS] [--drive X:=HOSTDIR]... [--encoding cp932|utf-8]\n"
        "                  [--threads N] [--listing KIND [--csv] | --format jsonl]\n"
        "                  [--format pdf] [-o FILE] [FOLDER]\n"
        "       tolan-list --graph FILE.svg|FILE.png [--width PX --height PX] [FOLDER]\n"
        "Lists the folder tree below FOLDER (a DOS path such as C:\\work, or a host path;\n"
        "default the current folder) as the work file of a scan holds it.\n"
        "  --mode MODE        totals: files with folder totals (default); plain: files only;\n"
        "                     folders: folder sizes\n"
        "  --type 1|2         1: full paths (default); 2: bare names with dates\n"
        "  --ext TEXT         extension filter as typed, without the dot (default *: every file)\n"
        "  --width TWIPS      main window width that sets the column widths, 0 to 10000000\n"
        "                     (default 12045)\n"
        "  --drive X:=DIR     map drive X: to host folder DIR, which must exist; repeat for\n"
        "                     more drives, each letter once\n"
        "  --encoding ENC     cp932 (default) or utf-8\n"
        "  --threads N        threads that read folders, fixed, 1 to 256 (default: as many\n"
        "                     as the device calls for: one for each processor while reads\n"
        "                     are quick, up to 16 while they wait on a disk or a server;\n"
        "                     1: the listing's own thread alone); the listing is the same\n"
        "  --listing KIND     write the records of a listing file instead (as the window's\n"
        "                     menu ファイル出力 does), one for each file of the scan:\n"
        "                       path-size-date         (FileName+Size+Date, TOLAN)\n"
        "                         C:\\work\\a.txt,1200,2024/01/05 5:07:09\n"
        "                       folder-name-size-date  (FileName+Size+Date(Directry分離), TOLAN0)\n"
        "                         C:\\work,a.txt,1200,2024/01/05 5:07:09\n"
        "                       path-size              (FileName+Size, TOLAN1)\n"
        "                         C:\\work\\a.txt,1200\n"
        "                       path-date              (FileName+Date, TOLAN2)\n"
        "                         C:\\work\\a.txt,2024/01/05 5:07:09\n"
        "                       path                   (FileName, TOLAN3)\n"
        "                         C:\\work\\a.txt\n"
        "  --csv              the CSV form of the listing: each field quoted\n"
        "  --format jsonl     one JSON object a line for each file: folder and name as\n"
        "                     DOS and host paths, size, mtime (ISO 8601), the column texts;\n"
        "                     host bytes that are not UTF-8 are escaped as \\udc80-\\udcff\n"
        "                     (e.g. tolan-list --format jsonl C:\\ | jq -r 'select(.size >\n"
        "                     1000000) | .host_folder + \"/\" + .host_name')\n"
        "  --format pdf       the lines printed on pages, as the window prints them: the\n"
        "                     fixed-width font (IPAGothic, embedded; the text can be\n"
        "                     selected and searched) as large as lets the longest line fit\n"
        "                     (6 to 10 points; a longer line is cut and ends in ' ..'), the\n"
        "                     folder and the scan's time at the head of each page and 'n / m'\n"
        "                     at its foot, on A4 (Letter where the locale measures in\n"
        "                     inches), portrait; with --listing KIND, that listing's records;\n"
        "                     needs -o FILE.pdf or standard output that is not a terminal\n"
        "  --graph FILE       draw the occupancy graph of the folder instead: a squarified\n"
        "                     treemap, a rectangle's area in proportion to the bytes below\n"
        "                     it, as the window's menu 占有グラフ shows it; FILE.svg or\n"
        "                     FILE.png, --width and --height in pixels, 16 to 16384\n"
        "                     (default 1024 x 768). In the SVG each rectangle has a <title>\n"
        "                     with its path relative to FOLDER ('/'-separated, '.' for\n"
        "                     FOLDER, '*' for small files merged into one rectangle), a tab\n"
        "                     and its size in bytes\n"
        "  -o FILE            write to FILE instead of standard output; FILE is replaced\n"
        "                     only when complete (a device or a pipe is written to)\n"
        "  --help             show this help\n"
        "  --version          show the version\n"
        "Exit status: 0 the listing was written; 1 the folder could not be listed or the\n"
        "output not written; 2 the command line was wrong; 128+N signal N ended the run.\n");
}

namespace {

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
        return error = QStringLiteral(
                   "--graph writes the graph alone: it goes without "
                   "--listing, --format and -o"),
               false;
    if (!out.widthGiven) return true;
    if (out.width < kMinPixels || out.width > kMaxPixels)
        return error = QStringLiteral(
                           "--width with --graph takes a whole number of pixels "
                           "from %1 to %2")
                           .arg(kMinPixels)
                           .arg(kMaxPixels),
               false;
    out.graphWidth = out.width;
    out.width = Options().width;
    return true;
}

// One option's value into `out`; false with a message when it is not valid.
bool applyValue(const QByteArray& name, const QByteArray& v, Options& out, QString& error) {
    auto refuse = [&error](const QString& message) {
        error = message;
        return false;
    };
    if (name == "--graph" || name == "--height") return applyGraphValue(name, v, out, error);
    const QString given = QString::fromLocal8Bit(v);
    if (name == "--mode") {
        if (v == "totals")
            out.mode = engine::ScanMode::Totals;
        else if (v == "plain")
            out.mode = engine::ScanMode::Plain;
        else if (v == "folders")
            out.mode = engine::ScanMode::Folders;
        else
            return refuse("--mode takes totals, plain or folders");
    } else if (name == "--type") {
        if (v != "1" && v != "2") return refuse("--type takes 1 or 2");
        out.type = v == "2" ? engine::ListType::Names : engine::ListType::FullPaths;
    } else if (name == "--ext") {
        out.ext = QString::fromUtf8(v);
    } else if (name == "--width") {
        out.widthGiven = true;
        if (!parseNumber(v, 0, kMaxWidth, out.width))
            return refuse(
                QStringLiteral("--width takes a whole number of twips from 0 to %1, not '%2'")
                    .arg(kMaxWidth)
                    .arg(given));
    } else if (name == "--threads") {
        if (!parseNumber(v, 1, kMaxThreads, out.threads))
            return refuse(QStringLiteral("--threads takes a whole number from 1 to %1, not '%2'")
                              .arg(kMaxThreads)
                              .arg(given));
    } else if (name == "--drive") {
        const bool ok = v.size() >= 4 && v[1] == ':' && v[2] == '=' && v[3] == '/' &&
                        QChar(v[0]).isLetter() && static_cast<unsigned char>(v[0]) < 0x80;
        if (!ok)
            return refuse(
                QStringLiteral("--drive takes X:=/absolute/folder (a letter, ':=' and a folder "
                               "from '/'), not '%1'")
                    .arg(given));
        // A second mapping of a letter would silently replace the first.
        for (const QByteArray& earlier : out.drives)
            if (QChar(earlier[0]).toUpper() == QChar(v[0]).toUpper())
                return refuse(QStringLiteral("--drive gives %1: twice (%2 and %3); give each "
                                             "letter once")
                                  .arg(QChar(v[0]).toUpper())
                                  .arg(QString::fromLocal8Bit(earlier), given));
        out.drives.append(v);
    } else if (name == "--encoding") {
        if (v == "cp932")
            out.encoding = dosfs::Encoding::Cp932;
        else if (v == "utf-8" || v == "utf8")
            out.encoding = dosfs::Encoding::Utf8;
        else
            return refuse("--encoding takes cp932 or utf-8");
    } else if (name == "--listing") {
        for (int k = 0; k < 5; ++k)
            if (v == kListingKinds[k].name) out.listing = k;
        if (out.listing < 0)
            return refuse(
                "--listing takes path-size-date, folder-name-size-date, path-size, path-date "
                "or path");
    } else if (name == "--format") {
        if (v != "text" && v != "jsonl" && v != "pdf")
            return refuse("--format takes text, jsonl or pdf");
        out.jsonLines = v == "jsonl";
        out.pdf = v == "pdf";
    } else {  // -o, --output
        if (v.isEmpty()) return refuse("-o needs a file name");
        out.output = v;
    }
    return true;
}

bool takesValue(const QByteArray& arg) {
    static const char* const kValued[] = {
        "--mode",    "--type",   "--ext", "--width",  "--threads", "--drive", "--encoding",
        "--listing", "--format", "-o",    "--output", "--graph",   "--height"};
    for (const char* name : kValued)
        if (arg == name) return true;
    return false;
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
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--csv") {
            out.csv = true;
        } else if (takesValue(arg)) {
            if (!hasValue && i + 1 >= args.size()) {
                error = QStringLiteral("option %1 needs a value").arg(QString::fromLocal8Bit(arg));
                return false;
            }
            if (!applyValue(arg, hasValue ? value : args[++i], out, error)) return false;
        } else if (arg.startsWith('-') && arg.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(arg));
            return false;
        } else {
            if (arg.isEmpty())
                return error = QStringLiteral(
                           "FOLDER is empty; give a folder, or none for the current folder"),
                       false;
            if (!out.folder.isEmpty())
                return error = QStringLiteral("only one FOLDER may be given"), false;
            out.folder = arg;
        }
    }
    if (out.csv && out.listing < 0)
        return error = QStringLiteral(
                   "--csv goes with --listing KIND (path-size-date, folder-name-size-date, "
                   "path-size, path-date or path)"),
               false;
    if (!settleGraph(out, error)) return false;
    if (out.jsonLines && out.listing >= 0)
        return error = QStringLiteral("--format jsonl and --listing exclude each other"), false;
    return true;
}

}  // namespace cli
