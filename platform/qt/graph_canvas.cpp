#include "platform/qt/graph_canvas.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace qtbind {

using treemap::Kind;
using treemap::Tile;

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(64, 48);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QCoreApplication::translate("Tolan", "グラフ"));
}

void GraphCanvas::setDocument(std::shared_ptr<treemap::GraphDocument> document) {
    document_ = std::move(document);
    const auto tree = document_ ? document_->tree() : nullptr;
    // The same scan shown again (said to be an earlier one) keeps its zoom.
    if (tree != tree_) top_ = 0;
    tree_ = tree;
    relayout();
}

void GraphCanvas::setMeasure(treemap::Measure measure) {
    measure_ = measure;
    const int keep = selected_ >= 0 ? tiles_[size_t(selected_)].node : -1;
    relayout();
    if (keep >= 0) selected_ = tileOf(keep);
    describe(selected_);
}

void GraphCanvas::setColours(GraphColours colours) {
    colours_ = colours;
    picture_ = QImage();
    update();
}

void GraphCanvas::zoomTo(int node) {
    if (!tree_ || node < 0 || node >= tree_->size() || !tree_->isFolder(node) || node == top_)
        return;
    top_ = node;
    relayout();
    if (onZoom) onZoom();
}

void GraphCanvas::zoomOut() {
    if (!tree_ || top_ == 0) return;
    const int from = top_;
    top_ = (*tree_)[top_].parent;
    relayout();
    selected_ = tileOf(from);  // where one came from stays chosen
    describe(selected_);
    if (onZoom) onZoom();
}

void GraphCanvas::relayout() {
    tiles_ = tree_ && tree_->size() > 0 ? graphTiles(*tree_, top_, width(), height(), measure_)
                                        : std::vector<Tile>();
    picture_ = QImage();
    hovered_ = selected_ = -1;
    update();
}

void GraphCanvas::resizeEvent(QResizeEvent*) {
    const int keep = selected_ >= 0 ? tiles_[size_t(selected_)].node : -1;
    relayout();
    if (keep >= 0) selected_ = tileOf(keep);
}

void GraphCanvas::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() && tree_) {
        picture_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::white);
        QPainter p(&picture_);
        paintGraph(p, *tree_, tiles_, colours_);
    }
    QPainter p(this);
    if (picture_.isNull()) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    p.drawImage(0, 0, picture_);
    auto frame = [&](int k, const QColor& colour, Qt::PenStyle style) {
        if (k < 0) return;
        const Tile& t = tiles_[size_t(k)];
        p.setPen(QPen(colour, 2, style));
        p.drawRect(QRectF(t.x + 1, t.y + 1, std::max(t.w - 2, 1.f), std::max(t.h - 2, 1.f)));
    };
    frame(selected_, Qt::black, Qt::SolidLine);
    frame(selected_, Qt::white, Qt::DashLine);
    frame(hovered_, QColor(255, 220, 0), Qt::SolidLine);
}

int GraphCanvas::folderOf(int k) const {
    if (k < 0) return -1;
    const Tile& t = tiles_[size_t(k)];
    return t.rest() || tree_->isFolder(t.node) ? t.node : (*tree_)[t.node].parent;
}

int GraphCanvas::tileOf(int node) const {
    for (size_t k = 0; k < tiles_.size(); ++k)
        if (tiles_[k].node == node && !tiles_[k].rest()) return int(k);
    return -1;
}

void GraphCanvas::describe(int k) {
    if (!document_ || k < 0) return;
    const Tile& t = tiles_[size_t(k)];
    const treemap::Node& n = (*tree_)[t.node];
    const treemap::Amount a = t.rest() ? treemap::restAmount(*tree_, tiles_, size_t(k))
                                       : treemap::Amount{n.bytes, n.disk, n.files};
    const QString text = document_->describe(t.node, t.rest(), a, measure_);
    if (onStatus) onStatus(text);
    // A screen reader hears the same, with the tile's share of the folder shown.
    const qint64 whole = (*tree_)[top_].size(measure_);
    const double share = whole > 0 ? 100.0 * double(a.size(measure_)) / double(whole) : 0;
    setAccessibleDescription(text + QStringLiteral("   ") + QString::number(share, 'f', 1) +
                             QStringLiteral(" %"));
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void GraphCanvas::select(int k, bool open) {
    selected_ = k;
    update();
    if (k < 0 || !document_) return;
    describe(k);
    if (!open) return;
    const QString said = document_->select(folderOf(k));
    if (!said.isEmpty() && onStatus) onStatus(said);
}

void GraphCanvas::mouseMoveEvent(QMouseEvent* e) {
    const int k = treemap::tileAt(tiles_, e->position().x(), e->position().y());
    if (k == hovered_) return;
    hovered_ = k;
    describe(k);
    update();
}

void GraphCanvas::leaveEvent(QEvent*) {
    hovered_ = -1;
    update();
}

void GraphCanvas::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) return zoomOut();
    if (e->button() != Qt::LeftButton) return;
    const int k = treemap::tileAt(tiles_, e->position().x(), e->position().y());
    // A click selects the folder: a file's or a rest's is its folder's.
    const int folder = folderOf(k);
    const int tile = k >= 0 && !tiles_[size_t(k)].rest() && tree_->isFolder(tiles_[size_t(k)].node)
                         ? k
                         : tileOf(folder);
    select(tile, true);
}

// One level down: into the folder shown whole's child under the pointer.
void GraphCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int k = treemap::childTileAt(tiles_, e->position().x(), e->position().y());
    if (k >= 0 && !tiles_[size_t(k)].rest()) zoomTo(tiles_[size_t(k)].node);
}

// To the nearest tile among the chosen one's siblings whose centre lies in
// the direction of the key; without a choice, the first tile inside.
void GraphCanvas::move(int dx, int dy) {
    if (tiles_.size() < 2) return;
    if (selected_ < 0) return select(1, false);
    const Tile& s = tiles_[size_t(selected_)];
    const int sParent = s.rest() ? s.node : (*tree_)[s.node].parent;
    const double cx = s.x + s.w / 2, cy = s.y + s.h / 2;
    int best = -1;
    double bestDistance = 0;
    for (size_t k = 1; k < tiles_.size(); ++k) {
        const Tile& t = tiles_[k];
        const int tParent = t.rest() ? t.node : (*tree_)[t.node].parent;
        if (int(k) == selected_ || tParent != sParent) continue;
        const double ox = t.x + t.w / 2 - cx, oy = t.y + t.h / 2 - cy;
        const double along = ox * dx + oy * dy;
        if (along <= 0) continue;
        const double distance = along + 2 * std::abs(ox * dy + oy * dx);
        if (best < 0 || distance < bestDistance) best = int(k), bestDistance = distance;
    }
    if (best >= 0) select(best, false);
}

void GraphCanvas::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
            return move(-1, 0);
        case Qt::Key_Right:
            return move(1, 0);
        case Qt::Key_Up:
            return move(0, -1);
        case Qt::Key_Down:
            return move(0, 1);
        case Qt::Key_Backspace:
            return zoomOut();
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected_ >= 0) zoomTo(folderOf(selected_));
            return;
        case Qt::Key_Space:
            if (selected_ >= 0) select(selected_, true);
            return;
        default:
            QWidget::keyPressEvent(e);
    }
}

}  // namespace qtbind
