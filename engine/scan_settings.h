#pragma once
// What a scan lists: its mode, its output type with the captions the type box
// shows, and the settings the caller fixes before ScanTree.

#include "engine/exclusions.h"
#include "engine/extension_filter.h"

#include <QString>

#include <optional>

namespace engine {

// The three listings, one for each scan command.
enum class ScanMode {
    Totals,   // files with folder totals ("ﾌｧｲﾙ表示１")
    Plain,    // files only ("ﾌｧｲﾙ表示２")
    Folders,  // folder sizes ("ﾌｫｰﾙﾀﾞ容量表示")
};

// The output type of a file line.
enum class ListType {
    FullPaths,  // full path and size
    Names,      // bare name, size and date
};

// The output-type box's captions.
inline const QString kFullPathsCaption =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"));
inline const QString kNamesCaption = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ﾌｧｲﾙ"));

inline const QString& caption(ListType type) {
    return type == ListType::Names ? kNamesCaption : kFullPathsCaption;
}
// The type a caption names; any other text names none.
inline std::optional<ListType> listTypeOf(const QString& caption) {
    if (caption == kFullPathsCaption) return ListType::FullPaths;
    if (caption == kNamesCaption) return ListType::Names;
    return std::nullopt;
}

// Set by the caller before ScanTree; abortRequested may be set by a handler
// that runs at a poll point.
struct ScanSettings {
    QString scanRoot;
    ListType listType = ListType::FullPaths;
    ExtensionFilter extFilter;
    // What the scan leaves out; a folder left out is never opened.
    Exclusions exclusions;
    ScanMode mode = ScanMode::Totals;
    bool abortRequested = false;

    bool plainList() const { return mode == ScanMode::Plain; }
    bool folderMode() const { return mode == ScanMode::Folders; }
};

}  // namespace engine
