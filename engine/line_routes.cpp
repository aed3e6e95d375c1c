#include "engine/line_routes.h"

namespace engine {
namespace {

constexpr Destinations kListed = kToSideB | kToWorkFile;

// Columns: files with totals, files only, folder sizes. Side B and the work
// file get the same lines; Side A lists every file whatever the mode.
constexpr Destinations kRoutes[][3] = {
    /* Banner */ {kListed, kListed, kListed},
    /* Drive  */ {kListed, 0, kListed},
    /* Header */ {kListed, 0, 0},
    /* File   */ {kListed | kToSideA, kListed | kToSideA, kToSideA},
    /* Footer */ {kListed, 0, kListed},
    /* Total  */ {kListed, 0, kListed},
};

}  // namespace

Destinations destinations(LineKind kind, ScanMode mode) {
    return kRoutes[static_cast<int>(kind)][static_cast<int>(mode)];
}

}  // namespace engine
