#pragma once
// The command line of tolan-list.

#include "engine/exclusions.h"
#include "engine/line_layout.h"
#include "engine/scan_settings.h"
#include "platform/dosfs/numbered_files.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace cli {

struct Options {
    engine::ScanMode mode = engine::ScanMode::Totals;
    engine::ListType type = engine::ListType::FullPaths;
    QString ext = engine::ExtensionFilter::kEveryFile;
    int width = engine::kDesignWindowWidth;
    int threads = 0;           // threads that read folders; 0: one a processor
    QList<QByteArray> drives;  // "X:=/folder", in the order given
    dosfs::Encoding encoding = dosfs::Encoding::Cp932;
    QByteArray output;  // host path; empty for standard output
    int listing = -1;   // index in kListingKinds; -1: the work file
    bool csv = false;   // the listing's CSV form
    bool jsonLines = false;
    bool pdf = false;       // the lines printed on pages, as a PDF
    QByteArray graph;       // --graph: the SVG or PNG to draw; empty for none
    int graphWidth = 1024;  // pixels; --width with --graph
    int graphHeight = 768;
    bool widthGiven = false;
    QByteArray folder;   // as given; empty for the current folder
    QByteArray compare;  // --compare OLD.jsonl: FOLDER (or NEW.jsonl) compared with it
    QByteArray from;     // --from SNAPSHOT: the listing made from a snapshot
    // --exclude PATTERN and --exclude-from FILE, in the order given.
    struct ExcludeSource {
        QByteArray value;
        bool file = false;
    };
    QList<ExcludeSource> excludes;
    engine::Exclusions exclusions;  // read from `excludes` before the scan
    QByteArray find;              // --find PATTERN: the files of the snapshots that match it
    QList<QByteArray> snapshots;  // the SNAPSHOTs searched with --find
    bool help = false;
    bool version = false;
};

// Fills `out`; on a usage error returns false with a message in `error`.
bool parseOptions(const QList<QByteArray>& args, Options& out, QString& error);

QString usageText();

}  // namespace cli
