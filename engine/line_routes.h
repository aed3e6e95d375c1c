#pragma once
// Which line of a listing goes where: one table from the kind of a line and
// the scan's mode to its destinations.

#include "engine/scan_settings.h"

namespace engine {

enum class LineKind {
    Banner,  // the first line
    Drive,   // a drive entry, and the blank line after the drives
    Header,  // a folder's path before its files
    File,    // one file of a folder
    Footer,  // a folder's count and kilobytes
    Total,   // the grand total
};

// Side B (the list of lines), the work file, Side A (a row for every file).
enum Destination : unsigned { kToSideB = 1, kToWorkFile = 2, kToSideA = 4 };
using Destinations = unsigned;
constexpr Destinations kEverywhere = kToSideB | kToWorkFile | kToSideA;

Destinations destinations(LineKind kind, ScanMode mode);

}  // namespace engine
