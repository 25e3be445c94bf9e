#include "workbook/engine/render/sheet_renderer.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <set>
#include <stdexcept>

#include "workbook/engine/render/border_lines.h"
#include "workbook/engine/render/cell_content.h"
#include "workbook/engine/render/cell_fit.h"
#include "workbook/engine/render/picture_memory.h"
#include "workbook/engine/render/picture_rows.h"
#include "workbook/engine/render/rect_filler.h"
#include "workbook/engine/render/shaped_text.h"
#include "workbook/engine/render/sheet_fonts.h"
#include "workbook/engine/render/sheet_geometry.h"
#include "workbook/engine/render/text_placement.h"

namespace tallowby::engine {
namespace {

using render::CellContent;
using render::FontCache;
using render::SheetGeometry;
using render::TextBox;

// Opaque; the QRgb constructor takes the channels as they are, where
// fromRgb() checks each (a wide sheet asks for a colour per border).
QColor toQColor(Rgb rgb) {
    return QColor(QRgb{0xff000000u | (rgb & 0xffffffu)});
}

const QColor kWhite(Qt::white);

class SheetPainter {
  public:
    SheetPainter(const Workbook& workbook, const Sheet& sheet, const FormatLocale& locale,
                 const RenderOptions& options, CellRange range, std::vector<CellRange> merges)
        : workbook_(workbook),
          sheet_(sheet),
          locale_(locale),
          options_(options),
          range_(range),
          geometry_(sheet, range.lastRow, range.lastCol),
          merges_(std::move(merges)),
          showGridlines_(options.gridlines.value_or(sheet.showGridlines)) {}

    // The picture's size in pixels; throws for a ratio or size it cannot have.
    QSize pictureSize() const {
        const double ratio = options_.pixelRatio;
        if (!(ratio >= 0.25 && ratio <= 8.0))
            throw std::runtime_error("The pixel ratio " + std::to_string(ratio) +
                                     " is outside 0.25 to 8.");
        const int64_t width = static_cast<int64_t>(std::ceil(geometry_.width() * ratio));
        const int64_t height = static_cast<int64_t>(std::ceil(geometry_.height() * ratio));
        if (width > 32767 || height > 32767 || width * height > options_.maxPixels)
            throw std::runtime_error("The sheet's used range is too large to draw (" +
                                     std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels).");
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }

    // 96 dpi per drawn pixel.
    int dotsPerMeter() const { return static_cast<int>(std::lround(3780 * options_.pixelRatio)); }

    QImage paint() {
        const QSize size = pictureSize();
        QImage image = render::newPicture(size.width(), size.height(), QImage::Format_RGB32);
        if (image.isNull()) throw std::runtime_error("Not enough memory to draw the sheet.");
        image.setDotsPerMeterX(dotsPerMeter());
        image.setDotsPerMeterY(dotsPerMeter());
        image.setDevicePixelRatio(options_.pixelRatio);
        const int splitAt = bandSplit(image);
        if (splitAt <= 0) {
            QImage whole = rowsOf(image, 0, image.height());
            paintBand(whole, 0);
            return image;
        }
        // Each half of the picture is drawn by its own thread, the lower one
        // by a painter of its own over the same sheet.
        SheetPainter lower(workbook_, sheet_, locale_, options_, range_, merges_);
        QImage upperRows = rowsOf(image, 0, splitAt);
        QImage lowerRows = rowsOf(image, splitAt, image.height());
        const bool drawn = render::bothAtOnce([&] { return paintBand(upperRows, 0); },
                                              [&] { return lower.paintBand(lowerRows, splitAt); });
        if (!drawn) throw std::runtime_error("The sheet could not be drawn.");
        return image;
    }

    // The rows [top, bottom) of `image` as a picture of their own over the
    // same pixels, with the whole picture's resolution and ratio.
    QImage rowsOf(QImage& image, int top, int bottom) const {
        QImage rows(image.bits() + image.bytesPerLine() * top, image.width(), bottom - top,
                    image.bytesPerLine(), image.format());
        rows.setDotsPerMeterX(dotsPerMeter());
        rows.setDotsPerMeterY(dotsPerMeter());
        rows.setDevicePixelRatio(options_.pixelRatio);
        return rows;
    }

    // Where the picture is cut into strips of about `stripBytes` each: the
    // strips' tops, then the picture's height. Cuts are at row lines only
    // (there a strip's pixels are exactly the whole picture's), never at the
    // last one, and only at a pixel ratio of 1.
    std::vector<int> stripCuts(QSize size, std::size_t stripBytes) const {
        std::vector<int> cuts{0};
        if (options_.pixelRatio == 1.0) {
            const std::size_t rowBytes = static_cast<std::size_t>(size.width()) * 4;
            for (int y : geometry_.rowLines)
                if (y > cuts.back() && y < geometry_.rowLines.back() &&
                    static_cast<std::size_t>(y - cuts.back()) * rowBytes >= stripBytes)
                    cuts.push_back(y);
        }
        cuts.push_back(size.height());
        return cuts;
    }

    // Fills and draws `rows`, the picture's rows from `top` on; only what
    // reaches them is drawn, in the order the whole picture draws it, so
    // their pixels are the same.
    bool paintBand(QImage& rows, int top) {
        render::fillPicture(rows, kWhite.rgb());
        // Bands are cut only at one drawn pixel per sheet pixel; at other
        // ratios the rows are the whole picture.
        const bool whole = options_.pixelRatio != 1.0;
        bandTop_ = whole ? std::numeric_limits<int>::min() : top;
        bandBottom_ = whole ? std::numeric_limits<int>::max() : top + rows.height();
        QPainter painter(&rows);
        painter.translate(0, -top);
        paintOn(painter);
        painter.end();
        return true;
    }

    // Draws with the painter's current transform, in 96-dpi pixels.
    void paintOn(QPainter& painter) {
        painter_ = &painter;
        render::RectFiller filler(painter);
        filler_ = &filler;
        ensureCollected();
        if (showGridlines_) paintGridlines();
        paintFills();
        paintTexts();
        paintBorders();
        filler_ = nullptr;
        painter_ = nullptr;
    }

    const SheetGeometry& geometry() const { return geometry_; }

  private:
    // Where a big picture is cut in two bands (a row line near its middle),
    // or 0 to draw it whole. Only at one drawn pixel per sheet pixel, where
    // a band's pixels are exactly the whole picture's.
    int bandSplit(const QImage& image) const {
        if (options_.pixelRatio != 1.0 || image.height() < 2 ||
            static_cast<std::size_t>(image.sizeInBytes()) < render::kTwoThreadRowBytes)
            return 0;
        int best = image.height() / 2;
        int bestDistance = image.height();
        for (int y : geometry_.rowLines) {
            const int distance = std::abs(y - image.height() / 2);
            if (y > 0 && y < image.height() && distance < bestDistance) {
                best = y;
                bestDistance = distance;
            }
        }
        return best;
    }

    struct Styled {
        Styled(CellAddress a, uint16_t x, const Cell* c) : at(a), xf(x), cell(c) {}
        CellAddress at;
        uint16_t xf;
        const Cell* cell;  // nullptr for a blank formatted by its row or column
        // Filled in once all are collected:
        CellRange area{};       // the merged range it is part of, or the cell
        bool follower = false;  // in a merged range, not its first cell
        int topLine = 0;        // the pixel rows of the area's top and bottom lines
        int bottomLine = 0;
        int borderSpread = 0;  // how far its widest border reaches past a line
    };

    // What is drawn for a cell, by the pixel rows it can reach: its text
    // stays inside its lines, its fill covers them, its borders reach as far
    // past them as their style spreads.
    enum Layer { kTexts, kFills, kBorders, kLayers };
    static int reachPastLines(const Styled& s, Layer layer) {
        return layer == kTexts ? -1 : layer == kFills ? 0 : s.borderSpread;
    }

    bool reachesBand(const Styled& s, Layer layer) const {
        const int margin = reachPastLines(s, layer);
        return s.bottomLine + margin >= bandTop_ && s.topLine - margin < bandBottom_;
    }

    // Calls `visit` for each styled cell whose `layer` reaches the band, in
    // the order the whole picture draws them.
    template <typename Visit>
    void forEachReaching(Layer layer, Visit visit) const {
        if (bandItems_) {
            for (uint32_t i : (*bandItems_)[layer]) visit(styled_[i]);
            return;
        }
        for (const Styled& s : styled_)
            if (reachesBand(s, layer)) visit(s);
    }

    void ensureCollected() {
        if (collected_) return;
        collectStyledCells();
        for (Styled& s : styled_) {
            s.area = areaOf(s.at);
            s.follower = s.area.firstRow != s.at.row || s.area.firstCol != s.at.col;
            s.topLine = geometry_.rowLines[s.area.firstRow];
            s.bottomLine = geometry_.rowLines[std::min<int>(s.area.lastRow, range_.lastRow) + 1];
            const Xf& xf = workbook_.xf(s.xf);
            s.borderSpread = std::max(
                {render::borderSpread(xf.left.style), render::borderSpread(xf.right.style),
                 render::borderSpread(xf.top.style), render::borderSpread(xf.bottom.style)});
        }
        collected_ = true;
    }

  public:
    // Sorts the styled cells by the strips (tops in `cuts`, then the
    // picture's height) they reach, keeping their order within each.
    void sortIntoStrips(const std::vector<int>& cuts) {
        ensureCollected();
        stripItems_.assign(cuts.size() - 1, {});
        for (uint32_t i = 0; i < styled_.size(); ++i) {
            const Styled& s = styled_[i];
            for (int layer = 0; layer < kLayers; ++layer) {
                const int margin = reachPastLines(s, static_cast<Layer>(layer));
                auto k = static_cast<std::size_t>(
                    std::upper_bound(cuts.begin(), cuts.end(), s.topLine - margin) - cuts.begin());
                k = k > 0 ? k - 1 : 0;
                for (; k < stripItems_.size() && cuts[k] <= s.bottomLine + margin; ++k)
                    stripItems_[k][static_cast<std::size_t>(layer)].push_back(i);
            }
        }
    }

    // Strip `k` of those sorted, into `rows`.
    void paintStrip(QImage& rows, std::size_t k, int top) {
        bandItems_ = &stripItems_[k];
        paintBand(rows, top);
        bandItems_ = nullptr;
    }

  private:
    // Cells with records, plus blanks that take a row's or column's format.
    void collectStyledCells() {
        for (const auto& [at, cell] : sheet_.cells())
            if (inRange(at.row, at.col)) styled_.emplace_back(at, cell.xf, &cell);
        std::vector<std::optional<uint16_t>> columnXf(range_.lastCol + 1u);
        bool anyColumnXf = false;
        for (const ColumnInfo& info : sheet_.columns)
            for (int c = info.firstCol; c <= std::min<int>(info.lastCol, range_.lastCol); ++c)
                if (info.xf != 15) {
                    columnXf[c] = info.xf;
                    anyColumnXf = true;
                }
        bool anyRowXf = false;
        for (const auto& [row, info] : sheet_.rows)
            anyRowXf = anyRowXf || (info.xf && row <= range_.lastRow);
        if (!anyColumnXf && !anyRowXf) return;
        for (int r = 0; r <= range_.lastRow; ++r) {
            if (rowHeight(r) == 0) continue;
            auto rowInfo = sheet_.rows.find(static_cast<uint16_t>(r));
            const std::optional<uint16_t> rowXf =
                rowInfo != sheet_.rows.end() ? rowInfo->second.xf : std::nullopt;
            if (!rowXf && !anyColumnXf) continue;
            for (int c = 0; c <= range_.lastCol; ++c) {
                const auto xf = rowXf ? rowXf : columnXf[c];
                if (!xf || sheet_.find(static_cast<uint16_t>(r), static_cast<uint16_t>(c)))
                    continue;
                styled_.emplace_back(
                    CellAddress{static_cast<uint16_t>(r), static_cast<uint16_t>(c)}, *xf, nullptr);
            }
        }
    }

    const CellRange* mergeAt(int row, int col) const {
        for (const CellRange& m : merges_)
            if (m.contains(static_cast<uint16_t>(row), static_cast<uint16_t>(col))) return &m;
        return nullptr;
    }

    bool inRange(int row, int col) const { return row <= range_.lastRow && col <= range_.lastCol; }
    int rowHeight(int r) const { return geometry_.rowLines[r + 1] - geometry_.rowLines[r]; }
    int colWidth(int c) const { return geometry_.columnLines[c + 1] - geometry_.columnLines[c]; }

    // The cell's area in grid-line coordinates: left, top, right, bottom lines.
    QRect cellLines(const CellRange& r) const {
        const int l = geometry_.columnLines[r.firstCol], t = geometry_.rowLines[r.firstRow];
        const int rt = geometry_.columnLines[std::min<int>(r.lastCol, range_.lastCol) + 1];
        const int b = geometry_.rowLines[std::min<int>(r.lastRow, range_.lastRow) + 1];
        return QRect(QPoint(l, t), QPoint(rt, b));
    }

    CellRange areaOf(CellAddress at) const {
        if (const CellRange* m = mergeAt(at.row, at.col)) return *m;
        return CellRange{at.row, at.row, at.col, at.col};
    }

    void paintGridlines() {
        const QColor grid = toQColor(options_.gridlineColour);
        const int top = std::max(0, bandTop_);
        const int bottom = std::min(geometry_.height(), bandBottom_);
        for (int x : geometry_.columnLines) filler_->fill(x, top, 1, bottom - top, grid);
        for (int y : geometry_.rowLines)
            if (y >= top && y < bottom) filler_->fill(0, y, geometry_.width(), 1, grid);
        // No lines inside merged ranges.
        for (const CellRange& m : merges_) {
            const QRect lines = cellLines(m);
            if (lines.width() > 2 && lines.height() > 2)
                filler_->fill(lines.adjusted(1, 1, -1, -1), kWhite);
        }
    }

    std::optional<QBrush> fillBrush(uint16_t xfIndex) const {
        const Xf& xf = workbook_.xf(xfIndex);
        if (xf.fillPattern == 0) return std::nullopt;
        const QColor fg = toQColor(workbook_.colour(xf.fillForeground, 0x000000));
        if (xf.fillPattern == 1) return QBrush(fg);
        static constexpr Qt::BrushStyle kPatterns[] = {
            Qt::Dense4Pattern,    Qt::Dense2Pattern, Qt::Dense6Pattern,    Qt::HorPattern,
            Qt::VerPattern,       Qt::BDiagPattern,  Qt::FDiagPattern,     Qt::CrossPattern,
            Qt::DiagCrossPattern, Qt::HorPattern,    Qt::VerPattern,       Qt::BDiagPattern,
            Qt::FDiagPattern,     Qt::CrossPattern,  Qt::DiagCrossPattern, Qt::Dense6Pattern,
            Qt::Dense7Pattern};
        const size_t i = static_cast<size_t>(xf.fillPattern) - 2;
        return QBrush(fg, i < std::size(kPatterns) ? kPatterns[i] : Qt::Dense4Pattern);
    }

    // A filled cell covers its grid lines, as in spreadsheet programs.
    void paintFills() {
        forEachReaching(kFills, [&](const Styled& s) {
            if (s.follower) return;
            auto brush = fillBrush(s.xf);
            if (!brush) return;
            const CellRange& area = s.area;
            const QRect lines = cellLines(area);
            const Xf& xf = workbook_.xf(s.xf);
            if (xf.fillPattern != 1)
                filler_->fill(lines, toQColor(workbook_.colour(xf.fillBackground, 0xFFFFFF)));
            if (brush->style() == Qt::SolidPattern)
                filler_->fill(lines, brush->color());
            else
                painter_->fillRect(lines, *brush);
            for (int r = area.firstRow; r <= area.lastRow; ++r)
                for (int c = area.firstCol; c <= area.lastCol; ++c)
                    filled_.insert(CellAddress{static_cast<uint16_t>(r), static_cast<uint16_t>(c)});
        });
    }

    bool isFilled(int row, int col) const {
        return filled_.count(CellAddress{static_cast<uint16_t>(row), static_cast<uint16_t>(col)}) !=
               0;
    }

    // Text may spill into a neighbour that holds nothing at all and is not merged.
    bool isTrulyEmpty(int row, int col) const {
        const Cell* cell = sheet_.find(static_cast<uint16_t>(row), static_cast<uint16_t>(col));
        if (cell && (!cell->value.isEmpty() || cell->hasFormula())) return false;
        return mergeAt(row, col) == nullptr;
    }

    void paintTexts() {
        FontCache& fonts = fonts_;
        forEachReaching(kTexts, [&](const Styled& s) {
            if (!s.cell || s.follower) return;
            auto content = render::cellContent(workbook_, *s.cell, locale_);
            if (!content || content->shown.text.empty()) return;
            const Xf& xf = workbook_.xf(s.xf);
            const Font& font = workbook_.font(xf.font);
            const auto& entry = fonts.get(xf.font, font);
            const QColor colour = toQColor(
                content->shown.colour.value_or(workbook_.colour(font.colourIndex, 0x000000)));
            paintText(s.at, *content, xf, entry, colour);
        });
    }

    // The fill character repeats between the parts to fill the cell.
    void paintFilled(const TextBox& box, double baseline, const FontCache::Entry& fontEntry,
                     const QString& before, const QString& fill, const QString& after) {
        auto widthOf = [&](const QString& text) {
            return render::shapedText(fontEntry.font, fontEntry.key, text).width;
        };
        const double fillWidth = widthOf(fill);
        const double beforeWidth = widthOf(before);
        const double afterWidth = widthOf(after);
        const int repeats =
            fillWidth > 0
                ? static_cast<int>(std::floor((box.width - beforeWidth - afterWidth) / fillWidth))
                : 0;
        painter_->setClipRect(box.clip);
        render::drawTextLine(*painter_, QPointF(box.left, baseline), fontEntry.font, fontEntry.key,
                             before + fill.repeated(std::max(0, repeats)));
        render::drawTextLine(*painter_, QPointF(box.right - afterWidth, baseline), fontEntry.font,
                             fontEntry.key, after);
        painter_->setClipping(false);
    }

    void paintText(CellAddress at, const CellContent& content, const Xf& xf,
                   const FontCache::Entry& fontEntry, const QColor& colour) {
        const QFont& font = fontEntry.font;
        const QFontMetricsF& metrics = fontEntry.metrics;
        const CellRange area = areaOf(at);
        const bool merged = area.firstRow != area.lastRow || area.firstCol != area.lastCol;
        const TextBox box = render::textBox(cellLines(area), content.align, xf.indent);
        if (box.lines.width() < 2 || box.lines.height() < 2) return;  // hidden
        painter_->setFont(font);
        painter_->setPen(colour);
        if (content.kind == CellContent::Kind::Text &&
            (xf.wrap || xf.hAlign == HAlign::Justify || xf.vAlign == VAlign::Justify ||
             xf.vAlign == VAlign::Distributed)) {
            painter_->setClipRect(box.clip);
            render::drawWrappedText(
                *painter_, QRectF(box.left, box.lines.top() + 1, box.width, box.lines.height() - 1),
                render::wrapFlags(content.align, xf.vAlign), font, fontEntry.key,
                QString::fromStdString(content.shown.text));
            return painter_->setClipping(false);
        }

        QString text = QString::fromStdString(content.shown.text);
        text.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
        QString before = text, fill, after;
        if (content.shown.fillAt >= 0) {
            const std::string& t = content.shown.text;
            const size_t split = std::min(static_cast<size_t>(content.shown.fillAt), t.size());
            before = QString::fromStdString(t.substr(0, split));
            after = QString::fromStdString(t.substr(split));
            fill = QString::fromStdString(content.shown.fillText);
            text = before + after;
        }
        double textWidth = render::shapedText(font, fontEntry.key, text).width;
        if (content.kind == CellContent::Kind::Number && textWidth > box.width) {
            // Numbers never spill: they shrink (General) or show ####.
            fill.clear();
            text = render::fittedText(content, metrics, box.width, locale_);
            textWidth = render::shapedText(font, fontEntry.key, text).width;
            before = text;
            after.clear();
        }
        const double baseline = render::baselineFor(xf.vAlign, box.lines, metrics);
        if (!fill.isEmpty()) return paintFilled(box, baseline, fontEntry, before, fill, after);
        if (content.align == HAlign::Fill && textWidth > 0) {
            const int repeats = std::max(1, static_cast<int>(std::floor(box.width / textWidth)));
            text = text.repeated(repeats);
            textWidth *= repeats;
        }
        const double x = render::alignedX(content.align, box, textWidth);
        QRect clip = box.clip;
        if (content.kind == CellContent::Kind::Text && !merged && textWidth > box.width &&
            content.align != HAlign::Fill)
            clip = spill(at, content.align, x, x + textWidth, clip);
        painter_->setClipRect(clip);
        render::drawTextLine(*painter_, QPointF(x, baseline), font, fontEntry.key, text);
        painter_->setClipping(false);
    }

    // Widens the clip of an overflowing text over the empty neighbours its
    // ink reaches, and clears the grid lines it crosses.
    QRect spill(CellAddress at, HAlign align, double inkLeft, double inkRight, QRect clip) {
        int first = at.col, last = at.col;
        const auto& lines = geometry_.columnLines;
        if (align != HAlign::Right)
            while (last < range_.lastCol && inkRight > lines[last + 1] &&
                   isTrulyEmpty(at.row, last + 1))
                ++last;
        if (align == HAlign::Right || align == HAlign::Centre || align == HAlign::CentreAcross ||
            align == HAlign::Distributed)
            while (first > 0 && inkLeft < lines[first] && isTrulyEmpty(at.row, first - 1)) --first;
        if (showGridlines_) {
            const int top = geometry_.rowLines[at.row] + 1, height = rowHeight(at.row) - 1;
            for (int k = first + 1; k <= last; ++k)
                if (!isFilled(at.row, k - 1) && !isFilled(at.row, k) && height > 0)
                    filler_->fill(lines[k], top, 1, height, kWhite);
        }
        clip.setLeft(lines[first] + 1);
        clip.setRight(lines[last + 1] - 1);
        return clip;
    }

    void paintBorders() {
        forEachReaching(kBorders, [&](const Styled& s) {
            const Xf& xf = workbook_.xf(s.xf);
            if (!xf.left.style && !xf.right.style && !xf.top.style && !xf.bottom.style) return;
            const CellRange& area = s.area;
            const int r = s.at.row, c = s.at.col;
            const int x0 = geometry_.columnLines[c], x1 = geometry_.columnLines[c + 1];
            const int y0 = geometry_.rowLines[r], y1 = geometry_.rowLines[r + 1];
            if (x0 == x1 || y0 == y1) return;  // hidden
            // Inside a merged range only its outer edges carry borders.
            auto colour = [&](const BorderLine& line) {
                return toQColor(workbook_.colour(line.colourIndex, 0x000000));
            };
            if (xf.left.style && c == area.firstCol)
                render::drawVerticalBorder(*filler_, x0, y0, y1, xf.left.style, colour(xf.left));
            if (xf.right.style && c == area.lastCol)
                render::drawVerticalBorder(*filler_, x1, y0, y1, xf.right.style, colour(xf.right));
            if (xf.top.style && r == area.firstRow)
                render::drawHorizontalBorder(*filler_, x0, x1, y0, xf.top.style, colour(xf.top));
            if (xf.bottom.style && r == area.lastRow)
                render::drawHorizontalBorder(*filler_, x0, x1, y1, xf.bottom.style,
                                             colour(xf.bottom));
        });
    }

    const Workbook& workbook_;
    const Sheet& sheet_;
    const FormatLocale& locale_;
    const RenderOptions& options_;
    CellRange range_;
    SheetGeometry geometry_;
    std::vector<CellRange> merges_;  // well-formed ones only, within the 256 columns
    QPainter* painter_ = nullptr;
    render::RectFiller* filler_ = nullptr;  // the painter's, for solid rectangles
    std::vector<Styled> styled_;
    std::set<CellAddress> filled_;
    bool collected_ = false;
    // Indices into styled_ by strip and layer, and those of the strip being drawn.
    using LayerItems = std::array<std::vector<uint32_t>, kLayers>;
    std::vector<LayerItems> stripItems_;
    const LayerItems* bandItems_ = nullptr;
    FontCache fonts_;
    bool showGridlines_;
    int bandTop_ = std::numeric_limits<int>::min();  // the rows being drawn
    int bandBottom_ = std::numeric_limits<int>::max();
};

const Sheet& sheetToDraw(const Workbook& workbook, int sheetIndex) {
    if (sheetIndex < 0 || sheetIndex >= static_cast<int>(workbook.sheets.size()))
        throw std::runtime_error("The workbook has no sheet " + std::to_string(sheetIndex + 1) +
                                 ".");
    if (!qGuiApp)
        throw std::runtime_error("Drawing a sheet needs the Qt GUI application to be running.");
    return workbook.sheets[sheetIndex];
}

// A damaged file may hold merged ranges upside down or past the last column.
std::vector<CellRange> wellFormedMerges(const Sheet& sheet) {
    std::vector<CellRange> merges;
    for (CellRange m : sheet.merges) {
        if (m.firstRow > m.lastRow || m.firstCol > m.lastCol || m.firstCol > 255) continue;
        m.lastCol = std::min<uint16_t>(m.lastCol, 255);
        merges.push_back(m);
    }
    return merges;
}

// The range as drawn: no column past the last one, no first row or column past the last.
CellRange drawableRange(CellRange range) {
    range.lastCol = std::min<uint16_t>(range.lastCol, 255);
    range.firstCol = std::min(range.firstCol, range.lastCol);
    range.firstRow = std::min(range.firstRow, range.lastRow);
    return range;
}

// The range's size in geometry laid out from A1 to its last row and column.
QSizeF rangeSize(const SheetGeometry& g, const CellRange& range) {
    return QSizeF(g.width() - g.columnLines[range.firstCol],
                  g.height() - g.rowLines[range.firstRow]);
}

}  // namespace

QSizeF paintSheetRange(QPainter& painter, const Workbook& workbook, int sheetIndex,
                       const FormatLocale& locale, CellRange range, const RenderOptions& options) {
    const Sheet& sheet = sheetToDraw(workbook, sheetIndex);
    range = drawableRange(range);
    // Laid out from A1 so that text spilling in from the left and merged
    // ranges starting above the range come out as on screen, then clipped.
    SheetPainter sheetPainter(workbook, sheet, locale, options,
                              CellRange{0, range.lastRow, 0, range.lastCol},
                              wellFormedMerges(sheet));
    const SheetGeometry& g = sheetPainter.geometry();
    const QSizeF size = rangeSize(g, range);
    painter.save();
    painter.setClipRect(QRectF(QPointF(0, 0), size), Qt::IntersectClip);
    painter.translate(-g.columnLines[range.firstCol], -g.rowLines[range.firstRow]);
    sheetPainter.paintOn(painter);
    painter.restore();
    return size;
}

QSizeF sheetRangeSize(const Workbook& workbook, int sheetIndex, CellRange range) {
    const Sheet& sheet = sheetToDraw(workbook, sheetIndex);
    range = drawableRange(range);
    return rangeSize(SheetGeometry(sheet, range.lastRow, range.lastCol), range);
}

namespace {

// The range from A1 to the last cell or merged range, or none for a sheet
// without either.
std::optional<CellRange> pictureRange(const Sheet& sheet, const std::vector<CellRange>& merges) {
    std::optional<CellRange> used = sheet.usedRange();
    for (const CellRange& m : merges) {
        if (!used) used = m;
        used->lastRow = std::max(used->lastRow, m.lastRow);
        used->lastCol = std::max(used->lastCol, m.lastCol);
    }
    if (!used) return std::nullopt;
    return CellRange{0, used->lastRow, 0, std::min<uint16_t>(used->lastCol, 255)};
}

// A strip's pixels, kept per thread from picture to picture: a fresh
// megabyte each time would cost more in page faults than drawing into it.
// A whole picture (drawn at another ratio) is not kept.
QImage stripBuffer(int width, int height) {
    thread_local std::unique_ptr<uchar[]> bytes;
    thread_local std::size_t capacity = 0;
    const std::size_t needed =
        static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height);
    if (needed >= render::kPooledPictureBytes)
        return render::newPicture(width, height, QImage::Format_RGB32);
    if (needed > capacity) {
        bytes.reset(new (std::nothrow) uchar[needed]);
        capacity = bytes ? needed : 0;
        if (!bytes) return {};
    }
    return QImage(bytes.get(), width, height, width * 4, QImage::Format_RGB32);
}

}  // namespace

QImage renderUsedRange(const Workbook& workbook, int sheetIndex, const FormatLocale& locale,
                       const RenderOptions& options) {
    const Sheet& sheet = sheetToDraw(workbook, sheetIndex);
    std::vector<CellRange> merges = wellFormedMerges(sheet);
    const std::optional<CellRange> range = pictureRange(sheet, merges);
    if (!range) return {};
    return SheetPainter(workbook, sheet, locale, options, *range, std::move(merges)).paint();
}

struct UsedRangeStrips::Parts {
    Parts(const Workbook& book, const Sheet& s, const FormatLocale& l, const RenderOptions& o)
        : workbook(book), sheet(s), locale(l), options(o), merges(wellFormedMerges(s)) {
        range = pictureRange(sheet, merges);
        if (!range) return;
        painter = std::make_unique<SheetPainter>(workbook, sheet, locale, options, *range, merges);
        size = painter->pictureSize();
    }

    const Workbook& workbook;
    const Sheet& sheet;
    const FormatLocale locale;  // the painters keep references to these
    const RenderOptions options;
    std::vector<CellRange> merges;
    std::optional<CellRange> range;
    std::unique_ptr<SheetPainter> painter;
    QSize size;
};

UsedRangeStrips::UsedRangeStrips(const Workbook& workbook, int sheetIndex,
                                 const FormatLocale& locale, const RenderOptions& options)
    : parts_(
          std::make_unique<Parts>(workbook, sheetToDraw(workbook, sheetIndex), locale, options)) {}

UsedRangeStrips::~UsedRangeStrips() = default;

bool UsedRangeStrips::isEmpty() const {
    return !parts_->painter;
}

QSize UsedRangeStrips::size() const {
    return parts_->size;
}

int UsedRangeStrips::dotsPerMeter() const {
    return parts_->painter ? parts_->painter->dotsPerMeter() : 0;
}

bool UsedRangeStrips::draw(const std::function<bool(const QImage&, int)>& take,
                           std::size_t stripBytes) {
    if (isEmpty()) return true;
    const QSize size = parts_->size;
    const std::vector<int> cuts = parts_->painter->stripCuts(size, stripBytes);
    const int strips = static_cast<int>(cuts.size()) - 1;
    int tallest = 0;
    for (int i = 0; i < strips; ++i) tallest = std::max(tallest, cuts[i + 1] - cuts[i]);
    // Each thread takes the next strip not yet taken, with a painter of its
    // own; a thread that cannot draw leaves the strips to the other.
    std::atomic<int> next{0};
    std::atomic<int> handed{0};
    std::atomic<bool> refused{false};
    auto drawStrips = [&](SheetPainter& painter) {
        QImage buffer = stripBuffer(size.width(), tallest);
        if (buffer.isNull()) return false;
        painter.sortIntoStrips(cuts);
        for (int i = next++; i < strips && !refused; i = next++) {
            QImage rows = painter.rowsOf(buffer, 0, cuts[i + 1] - cuts[i]);
            painter.paintStrip(rows, static_cast<std::size_t>(i), cuts[i]);
            if (!take(rows, cuts[i])) refused = true;
            ++handed;
        }
        return true;
    };
    if (strips == 1) {
        drawStrips(*parts_->painter);
    } else {
        SheetPainter second(parts_->workbook, parts_->sheet, parts_->locale, parts_->options,
                            *parts_->range, parts_->merges);
        render::bothAtOnce([&] { return drawStrips(*parts_->painter); },
                           [&] { return drawStrips(second); });
    }
    if (refused) return false;
    if (handed != strips) throw std::runtime_error("The sheet could not be drawn.");
    return true;
}

}  // namespace tallowby::engine
