#include "platform/qt/print_pages.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QIODevice>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTimeZone>

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
// PDF is put in place only when whole. QPdfWriter dates the PDF by the
// clock, near its start: the information dictionary's dates, "(D:" and
// fourteen digits, then the zone ("Z)" or "+09'00')"), and with newer Qt
// the XMP metadata's, "yyyy-MM-ddTHH:mm:ss" and the zone ("Z" or
// "+09:00"). Given a creation time, the start is held until those are all
// there and their digits are written for it in the zone that follows them,
// as many, so that every offset the PDF counts stays right.
class WriterDevice : public QIODevice {
  public:
    WriterDevice(dosfs::FileWriter& out, qint64 created) : out_(out), created_(created) {
        open(QIODevice::WriteOnly);
    }
    bool isSequential() const override { return true; }
    // Writes what is still held (a PDF shorter than the held start).
    bool finish() { return release(); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        const QByteArrayView bytes(data, size);
        if (holding()) {
            held_ += bytes;
            if (held_.size() >= kHeld && !release()) return -1;
            return size;
        }
        return out_.write(bytes) ? -1 : size;
    }

  private:
    static constexpr qsizetype kHeld = 64 * 1024;
    bool holding() const { return created_ != kClockTime && !released_; }
    bool release() {
        if (!holding()) return true;
        released_ = true;
        for (const char* key : {"/CreationDate (D:", "/ModDate (D:"})
            redate(key, QStringLiteral("yyyyMMddHHmmss"), '\'');
        for (const char* key : {"xmp:CreateDate=\"", "xmp:ModifyDate=\"", "xmp:MetadataDate=\""})
            redate(key, QStringLiteral("yyyy-MM-ddTHH:mm:ss"), ':');
        const bool written = out_.write(held_) == 0;
        held_.clear();
        return written;
    }
    // The date after `key` for created_ in the zone that follows it: "Z",
    // or a sign, hours, `separator` and minutes.
    void redate(QByteArrayView key, const QString& format, char separator) {
        const qsizetype at = held_.indexOf(key);
        if (at < 0) return;
        const qsizetype digits = at + key.size();
        const qsizetype zoneAt = digits + format.size();
        if (zoneAt + 1 > held_.size()) return;
        const QByteArrayView zone = QByteArrayView(held_).sliced(zoneAt);
        int offset = 0;  // seconds east of UTC
        if (zone.size() >= 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == separator) {
            bool hoursOk = false, minutesOk = false;
            const int hours = zone.sliced(1, 2).toInt(&hoursOk);
            const int minutes = zone.sliced(4, 2).toInt(&minutesOk);
            if (!hoursOk || !minutesOk) return;
            offset = (hours * 60 + minutes) * 60 * (zone[0] == '-' ? -1 : 1);
        } else if (!zone.startsWith("Z")) {
            return;
        }
        const QByteArray date = QDateTime::fromSecsSinceEpoch(created_ + offset, QTimeZone::utc())
                                    .toString(format)
                                    .toLatin1();
        if (date.size() == format.size()) held_.replace(digits, date.size(), date);
    }

    dosfs::FileWriter& out_;
    const qint64 created_;
    QByteArray held_;  // the start of the PDF, until its dates are all there
    bool released_ = false;
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
             bool* stopped, qint64 created) {
    WriterDevice device(out, created);
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
    if (!device.finish() || out.error()) return out.error() ? out.error() : dosfs::kDiskFull;
    return drawn == Drawn::Refused ? dosfs::kPathFileAccessError : dosfs::kOk;
}

}  // namespace qtbind
