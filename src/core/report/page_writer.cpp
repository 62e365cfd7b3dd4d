#include "core/report/page_writer.h"

#include "core/util/cp1252.h"

#include <algorithm>
#include <cmath>

namespace tarvik {

namespace {

// Line height when it follows the font: the em box plus the usual leading of a sans-serif face.
constexpr double kLineSpacing = 1.15;
// Part of the em box that lies below the baseline.
constexpr double kEmBelowBaseline = 0.25;
// A bound for "lines left" on a degenerate line height.
constexpr double kManyLines = 1e6;

// White blended toward `shade` channel by channel; p percent of the shade colour.
Colour Blend(Colour shade, int percent) {
    const unsigned p = static_cast<unsigned>(std::clamp(percent, 0, 100));
    Colour result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned ch = (shade >> shift) & 0xFFu;
        result |= (ch + (100 - p) * (255 - ch) / 100) << shift;
    }
    return result;
}

} // namespace

PageWriter::PageWriter(double pageWidth, double pageHeight)
    : pageWidth_(pageWidth), pageHeight_(pageHeight), area_{0, pageWidth, 0, pageHeight} {}

void PageWriter::runJob(const std::function<void(PageWriter&)>& content) {
    beginPageWithFrame();
    content(*this);
    endPageWithFrame();
}

void PageWriter::newPage() {
    endPageWithFrame();
    beginPageWithFrame();
}

void PageWriter::continueOnNewPage() {
    const Font font = font_;
    const std::optional<double> lineHeight = explicitLineHeight_;
    newPage();
    font_ = font;
    explicitLineHeight_ = lineHeight;
}

void PageWriter::beginPageWithFrame() {
    beginPage();
    goToFirstLine();
    if (frame_ != nullptr) {
        frame_->pageBegun(*this);
        frame_->header(*this);
    }
    fresh_ = true;
}

void PageWriter::endPageWithFrame() {
    if (frame_ != nullptr)
        frame_->footer(*this);
    endPage();
}

void PageWriter::setMargins(double left, double right, double top, double bottom) {
    area_ = {left, pageWidth_ - right, top, pageHeight_ - bottom};
}

void PageWriter::goToFirstLine() {
    x_ = area_.left;
    // The first line's band starts at the top edge.
    y_ = area_.top + lineHeight() - belowBaseline();
    tabs_.next = 0;
}

void PageWriter::moveTo(double x, double y) {
    x_ = x;
    y_ = y;
}

void PageWriter::popFont() {
    if (fontStack_.empty())
        return;
    font_ = std::move(fontStack_.back());
    fontStack_.pop_back();
}

double PageWriter::lineHeight() const {
    return explicitLineHeight_.value_or(kLineSpacing * font_.height);
}

double PageWriter::belowBaseline() const {
    return (lineHeight() - font_.height) / 2 + kEmBelowBaseline * font_.height;
}

void PageWriter::newLine() {
    y_ += lineHeight();
    x_ = area_.left;
    tabs_.next = 0;
}

int PageWriter::linesLeft() const {
    const double bottom = lineBottom();
    if (bottom > area_.bottom)
        return 0;
    const double whole = std::floor((area_.bottom - bottom) / lineHeight());
    return 1 + static_cast<int>(std::min(whole, kManyLines));
}

void PageWriter::setTab(const TabStop& tab) {
    TabStop resolved = tab;
    if (!resolved.position) {
        const auto& stops = tabs_.stops;
        resolved.position = stops.empty() ? area_.left : *stops.back().position + stops.back().width;
    }
    tabs_.stops.push_back(resolved);
}

void PageWriter::clearTabs() {
    tabs_ = {};
}

void PageWriter::popTabs() {
    if (tabStack_.empty())
        return;
    tabs_ = std::move(tabStack_.back());
    tabStack_.pop_back();
}

void PageWriter::tabStep(const TabPaint& paint) {
    if (tabs_.next >= tabs_.stops.size())
        return;
    const TabStop& tab = tabs_.stops[tabs_.next++];
    const double left = *tab.position;
    const double right = left + tab.width;
    const double top = lineTop();
    const double bottom = lineBottom();
    x_ = left;

    int shade = paint.shade;
    if (shade == TabPaint::kAsSet)
        shade = tab.shade != 0 ? tab.shade : defaultShade_;
    if (shade > 0)
        fill({left, top, right, bottom}, Blend(shadeColour_, shade));

    // One box line: as set draws with the current pen when the tab has it, an override with black.
    auto boxLine = [&](int override, int bit, double x1, double y1, double x2, double y2) {
        if (override == TabPaint::kAsSet) {
            if ((tab.boxLines & bit) != 0)
                line(x1, y1, x2, y2, pen_.colour, penPixels(pen_));
        } else if (override > 0) {
            line(x1, y1, x2, y2, kBlack, override);
        }
    };
    boxLine(paint.left, kBoxLeft, left, top, left, bottom);
    boxLine(paint.right, kBoxRight, right, top, right, bottom);
    boxLine(paint.top, kBoxTop, left, top, right, top);
    boxLine(paint.bottom, kBoxBottom, left, bottom, right, bottom);
}

TabLimits PageWriter::tabLimits() const {
    if (tabs_.next == 0)
        return {area_.left, area_.right};
    const TabStop& tab = tabs_.stops[tabs_.next - 1];
    const double margin = tab.margin * kMmPerHundredthInch;
    return {*tab.position + margin, *tab.position + tab.width - margin};
}

void PageWriter::printTab(std::string_view text) {
    tabStep();
    const TabLimits limits = tabLimits();
    const Alignment justify = tabs_.next == 0 ? Alignment::Left : tabs_.stops[tabs_.next - 1].justify;
    while (!text.empty() && textWidth(text) > limits.right - limits.left)
        text.remove_suffix(1);
    printAligned(text, limits.left, limits.right, justify);
}

void PageWriter::print(std::string_view s) {
    text(x_, y_, s);
    x_ += textWidth(s);
}

void PageWriter::printLine(std::string_view s) {
    print(s);
    newLine();
}

void PageWriter::printAt(double x, double baseline, std::string_view s) {
    text(x, baseline, s);
}

void PageWriter::printRight(std::string_view s, double xEnd) {
    text(xEnd - textWidth(s), y_, s);
}

// Block justification lays a single line out like left justification.
void PageWriter::printAligned(std::string_view s, double left, double right, Alignment justify) {
    switch (justify) {
    case Alignment::Centre:
        text(left + (right - left - textWidth(s)) / 2, y_, s);
        break;
    case Alignment::Right:
        text(right - textWidth(s), y_, s);
        break;
    case Alignment::Left:
    case Alignment::Block:
        text(left, y_, s);
        break;
    }
}

PageWriter::MemoLine PageWriter::memoLine(const MemoBuffer& memo, std::size_t from) const {
    const std::string_view all = memo.text;
    const std::size_t paragraphEnd = std::min(all.find('\n', from), all.size());
    const std::size_t afterParagraph = std::min(paragraphEnd + 1, all.size());
    std::size_t contentEnd = paragraphEnd;
    if (contentEnd > from && all[contentEnd - 1] == '\r')
        --contentEnd;
    const double room = memo.right - memo.left;
    auto fits = [&](std::size_t end) { return textWidth(all.substr(from, end - from)) <= room; };

    if (contentEnd == from || fits(contentEnd))
        return {from, contentEnd, afterParagraph};

    // The last space before which the words still fit.
    std::size_t breakAt = std::string_view::npos;
    for (std::size_t s = from + 1; s < contentEnd; ++s) {
        if (all[s] != ' ')
            continue;
        if (!fits(s))
            break;
        breakAt = s;
    }
    if (breakAt != std::string_view::npos) {
        std::size_t end = breakAt;
        while (end > from && all[end - 1] == ' ')
            --end;
        std::size_t next = breakAt;
        while (next < contentEnd && all[next] == ' ')
            ++next;
        return {from, end, next == contentEnd ? afterParagraph : next};
    }

    // A word wider than the limits: as many characters as fit, at least one.
    std::size_t end = from + 1;
    while (end < contentEnd && fits(end + 1))
        ++end;
    return {from, end, end};
}

int PageWriter::memoLinesLeft(const MemoBuffer& memo) const {
    int lines = 0;
    for (std::size_t at = memo.position; at < memo.text.size(); at = memoLine(memo, at).next)
        ++lines;
    return lines;
}

void PageWriter::printMemo(MemoBuffer& memo, int count) {
    int printed = 0;
    while (printed < count && !memo.finished()) {
        if (printed > 0)
            newLine();
        const MemoLine l = memoLine(memo, memo.position);
        printAligned(std::string_view(memo.text).substr(l.begin, l.end - l.begin), memo.left, memo.right,
                     memo.justify);
        memo.position = l.next;
        ++printed;
    }
    if (printed > 0 && !memo.noNewLine)
        newLine();
}

void PageWriter::lineTo(double x, double y) {
    line(x_, y_, x, y, pen_.colour, penPixels(pen_));
    moveTo(x, y);
}

void PageWriter::drawPicture(const std::string& picture, const Rect& rect) {
    fresh_ = false;
    renderPicture(picture, rect);
}

DeviceRect PageWriter::rectToDevice(const Rect& rect) const {
    const double perMm = dotsPerInch() / kMmPerInch;
    auto px = [perMm](double mm) { return std::lround(mm * perMm); };
    return {px(rect.left), px(rect.top), px(rect.right), px(rect.bottom)};
}

Rect PageWriter::rectFromDevice(const DeviceRect& rect) const {
    const double mmPerPixel = kMmPerInch / dotsPerInch();
    return {rect.left * mmPerPixel, rect.top * mmPerPixel, rect.right * mmPerPixel, rect.bottom * mmPerPixel};
}

void PageWriter::text(double x, double baseline, std::string_view s) {
    if (s.empty())
        return;
    fresh_ = false;
    // Stored texts may hold control characters; on paper they are plain spaces.
    drawText(x, baseline, ControlsToSpaces(s));
}

void PageWriter::fill(const Rect& rect, Colour colour) {
    fresh_ = false;
    fillRect(rect, colour);
}

void PageWriter::line(double x1, double y1, double x2, double y2, Colour colour, int pixels) {
    fresh_ = false;
    drawLine(x1, y1, x2, y2, colour, pixels);
}

int PageWriter::penPixels(const Pen& pen) const {
    if (pen.width >= 0)
        return pen.width;
    const double pixels = -pen.width / 100.0 * dotsPerInch();
    return std::max(1, static_cast<int>(std::lround(pixels)));
}

} // namespace tarvik
