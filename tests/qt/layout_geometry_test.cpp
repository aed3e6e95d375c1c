// The main window at the scale factor of the run (CTest runs this case at
// 1, 1.25, 1.5, 1.75 and 2): every control's edges land on device pixels,
// controls that meet in twips meet on screen, and controls apart in twips
// do not overlap.

#include "app/program.h"
#include "tests/support/program_fixture.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool whole(double v) {
    return std::abs(v - std::round(v)) < 1e-6;
}

}  // namespace

TEST(LayoutGeometry, EdgesLandOnDevicePixelsAndNeighboursMeet) {
    TempTree tree;
    SettingsFolders folders(tree);
    dosfs::DriveTable drives;
    drives.set(u'C', tree.root());
    app::Program program(drives);
    program.load();
    QCoreApplication::processEvents();
    const double ratio = program.window.devicePixelRatioF();
    struct Placed {
        const forms::Control* control;
        QRect twips;
        QRectF device;
    };
    std::vector<Placed> placed;
    for (const auto& c : program.form.controls()) {
        QWidget* w = program.window.widgetOf(*c);
        if (!w || c->kind() == forms::Kind::Line || !c->visible()) continue;
        const QPointF at = w->mapTo(program.window.client(), QPoint(0, 0));
        const QRectF device(at * ratio, QSizeF(w->size()) * ratio);
        for (double edge : {device.left(), device.top(), device.right(), device.bottom()})
            EXPECT_TRUE(whole(edge)) << c->name().toStdString() << " at " << ratio;
        int left = c->left(), top = c->top();
        for (const forms::Control* in = c->container(); in; in = in->container())
            left += in->left(), top += in->top();
        placed.push_back({c.get(), QRect(left, top, c->width(), c->height()), device});
    }
    for (const Placed& a : placed)
        for (const Placed& b : placed) {
            if (a.control == b.control || a.control->container() != b.control->container())
                continue;
            const std::string pair =
                a.control->name().toStdString() + "/" + b.control->name().toStdString();
            if (a.twips.x() + a.twips.width() == b.twips.x()) {
                EXPECT_DOUBLE_EQ(a.device.right(), b.device.left()) << pair;
            }
            if (a.twips.y() + a.twips.height() == b.twips.y()) {
                EXPECT_DOUBLE_EQ(a.device.bottom(), b.device.top()) << pair;
            }
            if (!a.twips.intersects(b.twips)) {
                EXPECT_FALSE(a.device.intersects(b.device)) << pair << " at " << ratio;
            }
        }
}
