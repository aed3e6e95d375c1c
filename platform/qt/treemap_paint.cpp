#include "platform/qt/treemap_paint.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace qtbind {
namespace {

using treemap::Kind;
using treemap::Tile;

constexpr int kLabelPixels = 11;
constexpr double kLabelBand = 14;
const QColor kOtherFiles(0xb4, 0xb4, 0xb4);
const QColor kTooSmall(0xa0, 0xa0, 0xa0);

QFont labelFont() {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(kLabelPixels);
    return f;
}

QColor folderColour(int depth) {
    const int v = std::max(150, 235 - 12 * depth);
    return QColor(v, v, v - 10);
}

// Lays the legend's entries out in lines `width` wide from `top`, drawing
// them when given a painter; the height they take.
double layLegend(QPainter* p, const std::vector<LegendEntry>& entries, double top, double width) {
    const QFontMetrics metrics(labelFont());
    constexpr double kSwatch = 11, kLine = 16, kMargin = 6;
    double x = kMargin, y = top + 4;
    for (const LegendEntry& e : entries) {
        const double swatch = e.colour.isValid() ? kSwatch + 4 : 0;
        const double need = swatch + metrics.horizontalAdvance(e.label) + 12;
        if (x > kMargin && x + need > width) x = kMargin, y += kLine;
        if (p) {
            const QRectF box(x, y + (kLine - kSwatch) / 2, kSwatch, kSwatch);
            if (e.colour.isValid()) {
                p->fillRect(box, e.colour);
                if (e.hatched) p->fillRect(box, QBrush(e.colour.darker(125), Qt::BDiagPattern));
            }
            p->setPen(Qt::black);
            p->drawText(QRectF(x + swatch, y, need - swatch, kLine),
                        Qt::AlignLeft | Qt::AlignVCenter, e.label);
        }
        x += need;
    }
    return y + kLine + 4 - top;
}

QString number(double v) {
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(u'0')) s.chop(1);
    if (s.endsWith(u'.')) s.chop(1);
    return s;
}

}  // namespace

treemap::LayoutOptions graphLayoutOptions() {
    return {1, kLabelBand, 1};
}

std::vector<Tile> graphTiles(const treemap::Tree& tree, int top, double w, double h,
                             treemap::Measure measure) {
    treemap::LayoutOptions options = graphLayoutOptions();
    options.measure = measure;
    return treemap::layout(tree, top, {0, 0, w, h}, options);
}

QColor extensionColour(int k) {
    static const QColor kColours[10] = {{0x4e, 0x79, 0xa7}, {0xf2, 0x8e, 0x2b}, {0xe1, 0x57, 0x59},
                                        {0x76, 0xb7, 0xb2}, {0x59, 0xa1, 0x4f}, {0xed, 0xc9, 0x48},
                                        {0xb0, 0x7a, 0xa1}, {0xff, 0x9d, 0xa7}, {0x9c, 0x75, 0x5f},
                                        {0x86, 0xbc, 0xd6}};
    return k >= 0 && k < 10 ? kColours[k] : QColor(0xc8, 0xc0, 0xb0);
}

QColor tileColour(const treemap::Tree& tree, const Tile& tile, GraphColours colours) {
    if (tile.rest()) return kTooSmall;
    const treemap::Node& n = tree[tile.node];
    if (n.kind == Kind::Folder) return folderColour(n.depth);
    if (n.kind == Kind::Other) return kOtherFiles;
    if (colours == GraphColours::ByDepth) return QColor::fromHsv((n.depth * 47) % 360, 110, 225);
    return extensionColour(n.extension);
}

std::vector<LegendEntry> graphLegend(const treemap::Tree& tree, GraphColours colours) {
    std::vector<LegendEntry> entries;
    if (colours == GraphColours::ByKind) {
        for (int k = 0; k < std::min<int>(10, int(tree.extensions.size())); ++k)
            entries.push_back({extensionColour(k), tree.extensions[k]});
        entries.push_back({extensionColour(10), QCoreApplication::translate("Tolan", "その他")});
    } else {
        entries.push_back({QColor(), QCoreApplication::translate("Tolan", "色: フォルダの深さ")});
    }
    entries.push_back({kOtherFiles, QCoreApplication::translate("Tolan", "残りのファイル")});
    entries.push_back({kTooSmall, QCoreApplication::translate("Tolan", "小さすぎる項目"), true});
    return entries;
}

void paintGraph(QPainter& p, const treemap::Tree& tree, const std::vector<Tile>& tiles,
                GraphColours colours) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(labelFont());
    const QFontMetrics metrics(p.font());
    const QColor frame(0x60, 0x60, 0x60);
    for (const Tile& t : tiles) {
        // Whole pixels: a tile's edges round to the nearest pixel boundary,
        // so neighbours meet without gaps or overdraw.
        const int x0 = qRound(t.x), y0 = qRound(t.y);
        const QRect r(x0, y0, qRound(t.x + t.w) - x0, qRound(t.y + t.h) - y0);
        if (r.isEmpty()) continue;
        const QColor c = tileColour(tree, t, colours);
        if (r.width() >= 3 && r.height() >= 3) {
            // The frame is the tile filled darker, its inside filled over.
            p.fillRect(r, tree[t.node].kind == Kind::Folder && !t.rest() ? frame : c.darker(140));
            p.fillRect(r.adjusted(1, 1, -1, -1), c);
        } else {
            p.fillRect(r, c);
        }
        if (t.rest() && r.width() >= 3 && r.height() >= 3)
            p.fillRect(r.adjusted(1, 1, -1, -1), QBrush(c.darker(125), Qt::BDiagPattern));
        if (t.flags & Tile::kLabelled) {
            p.setPen(Qt::black);
            const QRectF band(t.x + 3, t.y + 1, t.w - 6, kLabelBand);
            const QString name =
                &t == &tiles.front() ? tree.dosPath(t.node) : tree.names[size_t(t.node)];
            p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                       metrics.elidedText(name, Qt::ElideRight, int(band.width())));
        }
    }
    p.restore();
}

QImage savedGraphImage(const SavedGraph& g) {
    constexpr double kTitleBand = 22;
    const std::vector<LegendEntry> legend = graphLegend(g.tree, g.colours);
    const double legendBand = layLegend(nullptr, legend, 0, g.w);
    const QSizeF logical(g.w, std::ceil(kTitleBand + g.h + legendBand));
    QImage image((logical * g.ratio).toSize(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(g.ratio);
    // The pixels a metre of a 96-dpi screen at that ratio.
    const int dotsPerMetre = qRound(g.ratio * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont title = labelFont();
    title.setPixelSize(13);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(QRectF(6, 0, g.w - 12, kTitleBand), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(title).elidedText(g.title, Qt::ElideMiddle, g.w - 12));
    p.translate(0, kTitleBand);
    paintGraph(p, g.tree, g.tiles, g.colours);
    p.setFont(labelFont());
    layLegend(&p, legend, g.h, g.w);
    return image;
}

QString tileTitle(const treemap::Tree& tree, const std::vector<Tile>& tiles, size_t k,
                  treemap::Measure measure) {
    const Tile& t = tiles[k];
    QString path = tree.relativePath(t.node);
    qint64 bytes = tree[t.node].size(measure);
    if (t.rest()) {
        path = path.isEmpty() ? QStringLiteral("*") : path + QStringLiteral("/*");
        bytes = treemap::restAmount(tree, tiles, k).size(measure);
    }
    if (path.isEmpty()) path = QStringLiteral(".");
    return path + u'\t' + QString::number(bytes);
}

QByteArray graphSvg(const treemap::Tree& tree, const std::vector<Tile>& tiles, int w, int h,
                    GraphColours colours, treemap::Measure measure) {
    QString s = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                    "viewBox=\"0 0 %1 %2\" font-family=\"IPAPGothic, sans-serif\" "
                    "font-size=\"%3\">\n")
                    .arg(w)
                    .arg(h)
                    .arg(kLabelPixels);
    const QFontMetrics metrics(labelFont());
    for (size_t k = 0; k < tiles.size(); ++k) {
        const Tile& t = tiles[k];
        s += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"")
                 .arg(number(t.x), number(t.y), number(t.w), number(t.h),
                      tileColour(tree, t, colours).name());
        if (t.w >= 3 && t.h >= 3) s += QStringLiteral(" stroke=\"#606060\" stroke-width=\"0.5\"");
        // The title's tab stays a tab: XML keeps it in text, a script splits on it.
        s += QStringLiteral("><title>") + tileTitle(tree, tiles, k, measure).toHtmlEscaped() +
             QStringLiteral("</title></rect>\n");
        if (t.flags & Tile::kLabelled) {
            const QString name = k == 0 ? tree.dosPath(t.node) : tree.names[size_t(t.node)];
            s += QStringLiteral("<text x=\"%1\" y=\"%2\">%3</text>\n")
                     .arg(number(t.x + 3), number(t.y + kLabelBand - 3),
                          (metrics.elidedText(name, Qt::ElideRight, int(t.w - 6))));
        }
    }
    s += QStringLiteral("</svg>\n");
    return s.toUtf8();
}

QByteArray graphPng(const treemap::Tree& tree, const std::vector<Tile>& tiles, int w, int h,
                    GraphColours colours) {
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paintGraph(p, tree, tiles, colours);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

}  // namespace qtbind
