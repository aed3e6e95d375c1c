#include "platform/qt/print_pages.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace qtbind {
namespace {

// Fonts are measured this large, where the device rounds least.
constexpr double kMeasureSize = 100.0;
// An advance this close to its cells is taken as filling them.
constexpr double kSameAdvance = 0.01;  // ems
// Qt's own margins of a PDF, in points.
constexpr double kMargin = 10.0;

// The bytes QPdfWriter makes, handed to the one writer of files, so that a
// PDF is put in place only when whole.
class WriterDevice : public QIODevice {
  public:
    explicit WriterDevice(dosfs::FileWriter& out) : out_(out) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        return out_.write(QByteArrayView(data, size)) ? -1 : size;
    }

  private:
    dosfs::FileWriter& out_;
};

double emOn(const QPaintDevice& device, double points) {
    return points * device.logicalDpiY() / 72.0;
}

}  // namespace

QFont printFont(double points) {
    QFont font;
    // Symbola draws what the listing font has no glyph for (emoji, symbols).
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Symbola")});
    font.setStyleHint(QFont::TypeWriter);
    // Unhinted advances grow with the size, so a line keeps to its cells
    // at every size and resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    return font;
}

forms::FontProportions measurePrintFont(QPaintDevice& device) {
    const QFontMetricsF fm(printFont(kMeasureSize), &device);
    const double em = emOn(device, kMeasureSize);
    return {fm.horizontalAdvance(u'0') / em, fm.height() / em};
}

QPageLayout defaultPageLayout() {
    const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMargin, kMargin, kMargin, kMargin), QPageLayout::Point);
}

forms::PageArea pageArea(const QPageLayout& layout) {
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    return {paint.width(), paint.height()};
}

// ---- Drawing

PageDrawer::PageDrawer(QPainter& painter)
    : painter_(painter),
      dotsX_(painter.device()->logicalDpiX() / 72.0),
      dotsY_(painter.device()->logicalDpiY() / 72.0),
      reference_(printFont(kMeasureSize)) {
    const QFontMetricsF fm(reference_, painter.device());
    const double em = emOn(*painter.device(), kMeasureSize);
    ascent_ = fm.ascent() / em;
    cell_ = fm.horizontalAdvance(u'0') / em;
    for (char16_t c = 0; c < 128; ++c) asciiAdvance_[c] = fm.horizontalAdvance(QChar(c)) / em;
}

double PageDrawer::advanceOf(char32_t ch, QStringView text) {
    if (ch < 128) return asciiAdvance_[ch];
    const auto it = advances_.constFind(ch);
    if (it != advances_.constEnd()) return *it;
    const QFontMetricsF fm(reference_, painter_.device());
    const double advance =
        fm.horizontalAdvance(text.toString()) / emOn(*painter_.device(), kMeasureSize);
    advances_.insert(ch, advance);
    return advance;
}

int PageDrawer::cellsOf(char32_t ch, QStringView text) {
    if (ch < 128) return 1;
    const auto it = cells_.constFind(ch);
    if (it != cells_.constEnd()) return *it;
    const int cells = codepage::cp932Length(text) == 2 ? 2 : 1;
    cells_.insert(ch, cells);
    return cells;
}

void PageDrawer::drawText(const forms::PageText& t) {
    if (t.size != size_) {
        size_ = t.size;
        painter_.setFont(printFont(size_));
    }
    // Runs whose glyphs already fill their cells are drawn whole, so a line
    // of a listing is mostly one text; any other character alone, centred
    // in its cells and narrowed when it is wider.
    const QStringView text = t.text;
    const double baseline = (t.y + ascent_ * size_) * dotsY_;
    const double unit = size_ * dotsX_;  // device units an em
    double x = t.x * dotsX_;
    double runX = x;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            painter_.drawText(QPointF(runX, baseline),
                              text.sliced(runStart, end - runStart).toString());
    };
    qsizetype i = 0;
    while (i < text.size()) {
        char32_t ch = text[i].unicode();
        qsizetype n = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text[i], text[i + 1]);
            n = 2;
        }
        const QStringView glyph = text.sliced(i, n);
        const double width = cellsOf(ch, glyph) * cell_;
        const double advance = advanceOf(ch, glyph);
        if (std::abs(advance - width) > kSameAdvance) {
            flush(i);
            if (advance > width) {
                painter_.save();
                painter_.translate(x, baseline);
                painter_.scale(width / advance, 1.0);
                painter_.drawText(QPointF(0, 0), glyph.toString());
                painter_.restore();
            } else {
                painter_.drawText(QPointF(x + (width - advance) / 2 * unit, baseline),
                                  glyph.toString());
            }
            runStart = i + n;
            runX = x + width * unit;
        }
        x += width * unit;
        i += n;
    }
    flush(i);
}

void PageDrawer::draw(const std::vector<forms::PageText>& texts) {
    for (const forms::PageText& t : texts) drawText(t);
}

Drawn drawPages(QPainter& painter, QPagedPaintDevice& device, forms::PrintDocument& document,
                bool selectionOnly, const QPageRanges& pages, const PrintProgress& progress) {
    document.layOut(pageArea(device.pageLayout()), measurePrintFont(device), selectionOnly);
    int total = 0;
    for (int i = 0; i < document.pageCount(); ++i)
        if (pages.isEmpty() || pages.contains(i + 1)) ++total;
    PageDrawer drawer(painter);
    std::vector<forms::PageText> texts;
    int drawn = 0;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (!pages.isEmpty() && !pages.contains(i + 1)) continue;
        if (drawn > 0 && !device.newPage()) return Drawn::Refused;
        document.page(i, texts);
        drawer.draw(texts);
        ++drawn;
        if (progress && !progress(drawn, total)) return Drawn::Stopped;
    }
    return Drawn::All;
}

int writePdf(forms::PrintDocument& document, const QPageLayout& layout, bool selectionOnly,
             dosfs::FileWriter& out, const QPageRanges& pages, const PrintProgress& progress,
             bool* stopped) {
    WriterDevice device(out);
    QPdfWriter pdf(&device);
    pdf.setPageLayout(layout);
    pdf.setTitle(document.title());
    pdf.setCreator(QStringLiteral("Tolan"));
    // Laid out before the painter begins, so that nothing is written for a
    // document without pages.
    document.layOut(pageArea(layout), measurePrintFont(pdf), selectionOnly);
    if (document.pageCount() == 0) return dosfs::kBadFileNameOrNumber;
    QPainter painter;
    if (!painter.begin(&pdf)) return out.error() ? out.error() : dosfs::kPathFileAccessError;
    const Drawn drawn = drawPages(painter, pdf, document, selectionOnly, pages, progress);
    painter.end();
    if (stopped) *stopped = drawn == Drawn::Stopped;
    if (out.error()) return out.error();
    return drawn == Drawn::Refused ? dosfs::kPathFileAccessError : dosfs::kOk;
}

}  // namespace qtbind
