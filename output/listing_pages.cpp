#include "output/listing_pages.h"

#include "platform/codepage/cp932.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace output {
namespace {

// Room kept above and below the lines for the heading and the page number,
// in lines of the heading's size.
constexpr double kHeadingRoom = 1.5;
// Blank cells kept between the folder and the time in the heading.
constexpr int kHeadingGap = 2;
// Sizes are whole tenths of a point, so that a size reads as it prints.
constexpr double kSizeStep = 0.1;
// Slack for sums of points that should come out whole.
constexpr double kSlack = 1e-9;

qsizetype trimmedLength(QStringView text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ') --n;
    return n;
}

int cellsOfChar(QStringView ch) {
    return ch.size() == 1 && ch[0].unicode() < 0x80 ? 1 : codepage::cp932Length(ch);
}

// The length of the next character: two for a surrogate pair.
qsizetype charLength(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

}  // namespace

LineFit fitLines(forms::PageArea area, forms::FontProportions font, int widest) {
    LineFit fit;
    const double fitting = area.width / (std::max(widest, 1) * font.cell);
    fit.size = std::min(kLargestSize, std::floor(fitting / kSizeStep + kSlack) * kSizeStep);
    fit.size = std::max(fit.size, kSmallestSize);
    fit.cells = static_cast<int>(std::floor(area.width / (fit.size * font.cell) + kSlack));
    fit.lineHeight = fit.size * font.line;
    const double room = kHeadingRoom * kHeadingSize * font.line;
    fit.top = room;
    const double body = area.height - 2 * room;
    fit.linesPerPage = std::max(1, static_cast<int>(std::floor(body / fit.lineHeight + kSlack)));
    return fit;
}

int cellsOf(QStringView text) {
    return codepage::cp932Length(text.first(trimmedLength(text)));
}

QString fitLine(QStringView text, int cells) {
    text = text.first(trimmedLength(text));
    if (codepage::cp932Length(text) <= cells) return text.toString();
    const int keep = std::max(0, cells - static_cast<int>(kCutMarker.size()));
    int used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype n = charLength(text, i);
        const int c = cellsOfChar(text.sliced(i, n));
        if (used + c > keep) break;
        used += c;
        i += n;
    }
    QString cut = text.first(i).toString();
    if (cells >= kCutMarker.size()) cut += kCutMarker;
    return cut;
}

ListingPages::ListingPages(const forms::ListBox& lines, QString folder, qint64 scanTime)
    : lines_(lines),
      folder_(std::move(folder)),
      time_(
          QDateTime::fromSecsSinceEpoch(scanTime).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))) {
}

int ListingPages::widest(int first, int end) {
    if (first != measuredFirst_ || end != measuredEnd_) {
        int most = 0;
        for (int i = first; i < end; ++i) most = std::max(most, cellsOf(lines_.list(i)));
        measuredFirst_ = first;
        measuredEnd_ = end;
        measuredWidest_ = most;
    }
    return measuredWidest_;
}

void ListingPages::layOut(forms::PageArea area, forms::FontProportions font, bool selectionOnly) {
    area_ = area;
    font_ = font;
    if (selectionOnly && lines_.anySelected()) {
        const forms::ListBox::Run run = lines_.firstSelectedRun();
        first_ = run.first;
        end_ = run.end;
    } else {
        first_ = 0;
        end_ = lines_.listCount();
    }
    fit_ = fitLines(area, font, widest(first_, end_));
    const int lines = end_ - first_;
    pages_ = (lines + fit_.linesPerPage - 1) / fit_.linesPerPage;
}

void ListingPages::page(int index, std::vector<forms::PageText>& texts) const {
    texts.clear();
    if (index < 0 || index >= pages_) return;
    const double headingCell = kHeadingSize * font_.cell;

    // The time at the right, the folder in what is left of the line.
    const double timeX = area_.width - cellsOf(time_) * headingCell;
    const int folderCells =
        std::max(0, static_cast<int>(std::floor(timeX / headingCell + kSlack)) - kHeadingGap);
    texts.push_back({0, 0, kHeadingSize, fitLine(folder_, folderCells)});
    texts.push_back({timeX, 0, kHeadingSize, time_});

    const int first = first_ + index * fit_.linesPerPage;
    const int end = std::min(end_, first + fit_.linesPerPage);
    double y = fit_.top;
    for (int i = first; i < end; ++i, y += fit_.lineHeight) {
        QString line = fitLine(lines_.list(i), fit_.cells);
        if (!line.isEmpty()) texts.push_back({0, y, fit_.size, std::move(line)});
    }

    const QString number = QStringLiteral("%1 / %2").arg(index + 1).arg(pages_);
    texts.push_back({(area_.width - cellsOf(number) * headingCell) / 2,
                     area_.height - kHeadingSize * font_.line, kHeadingSize, number});
}

}  // namespace output
