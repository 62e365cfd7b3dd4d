#include "core/report/table_report.h"

#include "core/lang/traduccion.h"
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
// Free text never prints where two or fewer lines are left: the page footer's rule lies there.
constexpr int kLineasPie = 2;
// A table begins on the next page unless at least this many lines are left, clearance included.
constexpr int kLineasMinimas = 4;

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

// "%s (continuación)" in Windows-1252, or its English words in an English report.
std::string Continuacion(const std::string& title) {
    return title + (IdiomaActivo() == kEspanol ? " (continuaci\xF3n)" : " (continued)");
}

void ApplyMarks(PageWriter& writer, const TBkMemobuf& marks) {
    writer.setBold(marks.CellBold);
    writer.setUnderline(marks.CellUnderline);
    writer.setFontColour(marks.CellColor);
}

// The lines of a row's tallest cell, at least one.
int LineasCeldas(PageWriter& writer, const std::vector<TBkMemobuf>& buffers) {
    int lines = 1;
    for (const TBkMemobuf& buffer : buffers) {
        SavedFont font(writer);
        ApplyMarks(writer, buffer);
        lines = std::max(lines, writer.memoLinesLeft(buffer));
    }
    return lines;
}

// A separator and a "$" row take their own line; a "*" row an empty line and the line of its text.
int LineasEspeciales(const std::string& first) {
    return first.size() > 1 && first[0] == '*' ? 2 : 1;
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
    ContinuationCount = 0;
    RowIndex = 0;
    // The header stays with the first row, and a table of one row with its notes.
    int lines = LineasCabecera(writer);
    if (RowCount() > 0)
        lines += LineasFila(writer, Data->front(), false) + (RowCount() == 1 ? lineasNotas : 0);
    if (writer.linesLeft() < std::max(kLineasMinimas, lines + kLineasPie) && PageHasContent) {
        writer.continueOnNewPage();
        writer.newLine();
        PageHasContent = false;
    }
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
        writer.printTab(ContinuationCount == 0 ? Title : Continuacion(Title));
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
    const bool special = IsSpecial(first);
    std::vector<TBkMemobuf> buffers;
    if (!special)
        buffers = Celdas(writer, cells, captionRow);
    // A row that does not end clear of the page footer (with the notes under the last row) goes on
    // the next page, wherever the position on the page. The caption row has been placed with the
    // header. A row taller than a whole page starts on a new page and is split by the line pass.
    if (!captionRow) {
        const int lines = special ? LineasEspeciales(first) : LineasCeldas(writer, buffers);
        if (!Caben(writer, lines + (RowIndex == RowCount() - 1 ? lineasNotas : 0)))
            TableNewPage(writer, true);
    }
    if (special) {
        PrintSpecialRow(writer, first);
        if (!captionRow)
            PageHasContent = true;
    } else {
        PrintCells(writer, buffers, captionRow);
    }
}

void TTableReport::PrintSpecialRow(PageWriter& writer, const std::string& first) {
    if (first.size() == 1) {
        StepColumns(writer, kBottomRule);
        writer.newLine();
        RuleStep(writer);
        return;
    }
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

std::vector<TBkMemobuf> TTableReport::Celdas(PageWriter& writer, const std::vector<std::string>& cells,
                                             bool captionRow) const {
    const std::size_t n = ColumnList.size();
    std::vector<TBkMemobuf> buffers(n);
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
    }
    return buffers;
}

int TTableReport::LineasFila(PageWriter& writer, const std::vector<std::string>& cells,
                             bool captionRow) const {
    if (!cells.empty() && IsSpecial(cells.front()))
        return LineasEspeciales(cells.front());
    return LineasCeldas(writer, Celdas(writer, cells, captionRow));
}

int TTableReport::LineasCabecera(PageWriter& writer) const {
    if (!ShowHeader)
        return 0;
    int lines = Title.empty() ? 0 : 1;
    if (ShowCaptions) {
        std::vector<std::string> captions;
        for (const TTableColumn& column : ColumnList)
            captions.push_back(column.Caption);
        lines += LineasFila(writer, captions, true);
    }
    return lines;
}

bool TTableReport::Caben(const PageWriter& writer, int lines) const {
    return writer.linesLeft() >= lines + kLineasPie || !PageHasContent;
}

void TTableReport::PrintCells(PageWriter& writer, std::vector<TBkMemobuf>& buffers, bool captionRow) {
    const std::size_t n = buffers.size();
    std::vector<bool> finished(n, false);
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
        // A row that goes on, where its next line would not keep clear of the footer, closes on
        // this page and goes on on the next one; a row that has ended closes under its last line.
        if (!allFinished && !Caben(writer, 2)) {
            StepColumns(writer, kBottomRule);
            TableNewPage(writer, false);
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

void TTableReport::TableNewPage(PageWriter& writer, bool wholeRow) {
    writer.continueOnNewPage();
    writer.newLine();
    ++ContinuationCount;
    PageHasContent = false;
    if (ShowHeader && (wholeRow || RowIndex < RowCount() - 1))
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
