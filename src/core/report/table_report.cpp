#include "core/report/table_report.h"

#include "core/report/string_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace tarvik {

namespace {

constexpr int kCellMargin = 3; // hundredths of an inch on both sides of a cell's text
constexpr int kRulePixels = 1;
constexpr int kTitleShade = 8;
constexpr std::string_view kPrefixStart = "{f\\";
constexpr std::string_view kPrefixEnd = "}";
// "%s (continuación)" in Windows-1252, the same in every interface language.
constexpr std::string_view kContinued = " (continuaci\xF3n)";

constexpr TabPaint kTopRule{0, 0, kRulePixels, 0, 0};
constexpr TabPaint kBottomRule{0, 0, 0, kRulePixels, 0};

// x × y ÷ z on a 64-bit intermediate, rounded to the nearest integer with halves away from zero.
std::int64_t MulDiv(std::int64_t x, std::int64_t y, std::int64_t z) {
    const std::int64_t product = x * y;
    std::int64_t quotient = product / z;
    const std::int64_t remainder = product % z;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (z < 0 ? -z : z))
        quotient += (product < 0) == (z < 0) ? 1 : -1;
    return quotient;
}

// A length brought to whole millimetres, halves to the even neighbour; kept within a sane range.
int WholeMm(double mm) {
    constexpr double kLimit = 1e6;
    const double rounded = std::nearbyint(mm);
    if (!(rounded > -kLimit))
        return static_cast<int>(-kLimit);
    return static_cast<int>(std::min(rounded, kLimit));
}

// The colour of a "C" mark: decimal digits only, at most 0x00FFFFFF; anything else is no colour.
std::optional<Colour> ParseColour(std::string_view digits) {
    constexpr std::uint32_t kMax = 0x00FFFFFF;
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > kMax)
            return std::nullopt;
    }
    return value;
}

bool IsSpecial(const std::string& first) {
    return !first.empty() && (first[0] == '*' || first[0] == '$');
}

void ApplyMarks(PageWriter& writer, const TBkMemobuf& marks) {
    writer.setBold(marks.CellBold);
    writer.setUnderline(marks.CellUnderline);
    writer.setFontColour(marks.CellColor);
}

} // namespace

void TTableReport::AddColumn(std::string caption, Alignment justify, float width, float minWidth,
                             bool fixed) {
    ColumnList.push_back({std::move(caption), justify, width, minWidth, fixed});
}

void TTableReport::ApplyLineHeight(PageWriter& writer) const {
    writer.setLineHeight(writer.fontHeight() + RowPadding);
}

void TTableReport::Print(PageWriter& writer) {
    if (ColumnList.empty())
        return;
    SavedFont font(writer);
    ApplyLineHeight(writer);
    writer.moveTo(writer.x(), writer.y() + RowPadding);
    SavedTabs tabs(writer);
    LayoutColumns(writer);
    PrintBody(writer);
}

void TTableReport::LayoutColumns(PageWriter& writer) {
    const Area& area = writer.area();
    if (AutoWidth)
        DistributeWidths(WholeMm(area.right - area.left));
    writer.clearTabs();
    writer.setPen({kBlack, kRulePixels});
    Width = 0;
    for (std::size_t i = 0; i < ColumnList.size(); ++i) {
        const TTableColumn& column = ColumnList[i];
        TabStop tab;
        if (i == 0)
            tab.position = area.left;
        tab.justify = column.Justify;
        tab.width = column.Width;
        tab.margin = kCellMargin;
        tab.boxLines = Boxed ? kBoxLeft | kBoxRight : 0;
        writer.setTab(tab);
        Width += column.Width;
    }
}

// Proportional fitting in whole millimetres: every column that is not fixed gets its share of the
// remaining width; a column whose share is not above its least width takes that width and leaves,
// and the others share again. The cumulative rounding makes one pass's shares add up exactly.
void TTableReport::DistributeWidths(int available) {
    const std::size_t n = ColumnList.size();
    std::vector<int> width(n);
    std::vector<int> minWidth(n);
    std::vector<std::optional<int>> result(n);
    std::int64_t remainingAvailable = available;
    std::int64_t remainingRequested = 0;
    for (std::size_t i = 0; i < n; ++i) {
        width[i] = WholeMm(ColumnList[i].Width);
        minWidth[i] = WholeMm(ColumnList[i].MinWidth);
        if (ColumnList[i].Fixed) {
            result[i] = width[i];
            remainingAvailable -= width[i];
        } else {
            remainingRequested += width[i];
        }
    }

    bool finalPass = false;
    while (remainingRequested != 0) {
        const std::int64_t passAvailable = remainingAvailable;
        const std::int64_t passRequested = remainingRequested;
        std::int64_t runningSum = 0;
        bool changed = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (result[i])
                continue;
            const std::int64_t share = MulDiv(runningSum + width[i], passAvailable, passRequested) -
                                       MulDiv(runningSum, passAvailable, passRequested);
            if (finalPass) {
                result[i] = static_cast<int>(share);
            } else if (minWidth[i] >= share) {
                result[i] = minWidth[i];
                remainingAvailable -= minWidth[i];
                remainingRequested -= width[i];
                changed = true;
            }
            runningSum += width[i];
        }
        if (!changed)
            finalPass = !finalPass;
        if (!changed && !finalPass)
            break;
    }

    // Columns left undecided (nothing was requested for them) keep their own whole-mm width.
    for (std::size_t i = 0; i < n; ++i)
        ColumnList[i].Width = static_cast<float>(result[i].value_or(width[i]));
}

void TTableReport::PrintBody(PageWriter& writer) {
    PageHasContent = !writer.pageIsFresh();
    if (writer.linesLeft() < 4 && PageHasContent) {
        writer.newPage();
        ApplyLineHeight(writer);
        writer.newLine();
        PageHasContent = false;
    }
    ContinuationCount = 0;
    RowIndex = 0;
    if (ShowHeader)
        PrintHeader(writer);
    for (RowIndex = 0; RowIndex < RowCount(); ++RowIndex)
        PrintRow(writer, (*Data)[static_cast<std::size_t>(RowIndex)], false);
}

void TTableReport::PrintHeader(PageWriter& writer) {
    SavedFont font(writer);
    writer.setBold(true);
    if (!Title.empty()) {
        SavedFont titleFont(writer);
        SavedTabs tabs(writer);
        writer.clearTabs();
        TabStop tab;
        tab.position = writer.area().left;
        tab.justify = Alignment::Centre;
        tab.width = Width;
        tab.boxLines = Boxed ? kBoxAll : 0;
        tab.shade = Boxed ? kTitleShade : 0;
        writer.setTab(tab);
        writer.printTab(ContinuationCount == 0 ? Title : Title + std::string(kContinued));
        writer.newLine();
    }
    if (ShowCaptions) {
        std::vector<std::string> captions;
        for (const TTableColumn& column : ColumnList)
            captions.push_back(column.Caption);
        PrintRow(writer, captions, true);
    }
}

void TTableReport::PrintRow(PageWriter& writer, const std::vector<std::string>& cells, bool captionRow) {
    static const std::string kEmpty;
    const std::string& first = cells.empty() ? kEmpty : cells.front();
    if (IsSpecial(first)) {
        PrintSpecialRow(writer, first);
        if (!captionRow)
            PageHasContent = true;
    } else {
        PrintCells(writer, cells, captionRow);
    }
}

void TTableReport::PrintSpecialRow(PageWriter& writer, const std::string& first) {
    if (first.size() == 1) {
        StepColumns(writer, kBottomRule);
        writer.newLine();
        RuleStep(writer);
        return;
    }
    if (writer.linesLeft() == 2 && PageHasContent)
        TableNewPage(writer);
    std::string text = first.substr(1);
    if (first[0] == '$') {
        {
            SavedFont font(writer);
            TBkMemobuf marks;
            ReadCellFormat(marks, text);
            ApplyMarks(writer, marks);
            SavedTabs tabs(writer);
            writer.clearTabs();
            TabStop tab;
            tab.position = writer.area().left;
            tab.justify = Alignment::Left;
            tab.width = Width;
            tab.margin = kCellMargin;
            tab.boxLines = Boxed ? kBoxAll : 0;
            writer.setTab(tab);
            writer.printTab(text);
            RuleStep(writer);
        }
        writer.newLine();
    } else {
        writer.newLine();
        writer.print(text);
        writer.newLine();
    }
}

void TTableReport::PrintCells(PageWriter& writer, const std::vector<std::string>& cells, bool captionRow) {
    const std::size_t n = ColumnList.size();
    std::vector<TBkMemobuf> buffers(n);
    std::vector<bool> finished(n, false);
    int rowLines = 1;
    writer.rewindTabs();
    for (std::size_t i = 0; i < n; ++i) {
        writer.tabStep(TabPaint::Nothing());
        std::string text = i < cells.size() ? cells[i] : std::string();
        TBkMemobuf& buffer = buffers[i];
        ReadCellFormat(buffer, text);
        const TabLimits limits = writer.tabLimits();
        buffer.left = limits.left;
        buffer.right = limits.right;
        buffer.justify = captionRow ? Alignment::Centre : ColumnList[i].Justify;
        buffer.noNewLine = true;
        buffer.text = std::move(text);
        SavedFont font(writer);
        ApplyMarks(writer, buffer);
        rowLines = std::max(rowLines, writer.memoLinesLeft(buffer));
    }

    if (writer.linesLeft() - 1 < rowLines && PageHasContent)
        TableNewPage(writer);
    RuleStep(writer);

    bool allFinished = false;
    while (!allFinished) {
        allFinished = true;
        writer.rewindTabs();
        for (std::size_t i = 0; i < n; ++i) {
            writer.tabStep();
            if (finished[i])
                continue;
            SavedFont font(writer);
            ApplyMarks(writer, buffers[i]);
            writer.printMemo(buffers[i], 1);
            finished[i] = buffers[i].finished();
            allFinished = allFinished && finished[i];
        }
        if (!captionRow)
            PageHasContent = true;
        if (writer.linesLeft() < 3 && PageHasContent) {
            StepColumns(writer, kBottomRule);
            TableNewPage(writer);
        } else {
            writer.newLine();
        }
    }
    RuleStep(writer);
}

// The rule above a row (or under it, on the line that follows): drawn only when the table is boxed.
void TTableReport::RuleStep(PageWriter& writer) const {
    StepColumns(writer, Boxed ? kTopRule : TabPaint::Nothing());
}

// One tab step per column across the current line, from the first tab stop.
void TTableReport::StepColumns(PageWriter& writer, const TabPaint& paint) const {
    writer.rewindTabs();
    for (std::size_t i = 0; i < ColumnList.size(); ++i)
        writer.tabStep(paint);
}

void TTableReport::TableNewPage(PageWriter& writer) {
    writer.newPage();
    // The page header may have changed the font; the line height follows the font now current.
    ApplyLineHeight(writer);
    writer.newLine();
    ++ContinuationCount;
    PageHasContent = false;
    if (ShowHeader && RowIndex < RowCount() - 1)
        PrintHeader(writer);
}

void TTableReport::ReadCellFormat(TBkMemobuf& buffer, std::string& text) {
    buffer.CellBold = false;
    buffer.CellUnderline = false;
    buffer.CellColor = kBlack;
    if (!text.starts_with(kPrefixStart))
        return;
    std::string marks = StringManager.TextBetween(kPrefixStart, kPrefixEnd, text, 1);
    if (marks.empty())
        return;
    text.erase(0, std::min(text.size(), marks.size() + kPrefixStart.size() + kPrefixEnd.size()));
    while (!marks.empty()) {
        const std::string mark = StringManager.CutToken("|", marks, true);
        if (mark == "B") {
            buffer.CellBold = true;
        } else if (mark == "S") {
            buffer.CellUnderline = true;
        } else if (mark.starts_with('C')) {
            if (const auto colour = ParseColour(std::string_view(mark).substr(1)))
                buffer.CellColor = *colour;
        }
    }
}

} // namespace tarvik
