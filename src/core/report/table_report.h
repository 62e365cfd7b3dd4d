#pragma once
// The table printer: prints a table of Windows-1252 texts at the page writer's current position,
// with the columns as tab stops, word-wrapped cells, grid lines, a shaded title, a caption row and
// page breaks that repeat the title (with the continuation words) and the captions.
//
// A cell may start with a format prefix "{f\" marks "}" (marks separated by "|"): "B" bold,
// "S" underlined, "C" followed by a decimal colour 0x00BBGGRR; anything else is ignored.
// A row whose first cell is exactly "*" or "$" is a separator; "*text" is a free line of text
// outside the grid; "$text" is one full-width cell (which may carry a format prefix after the "$").

#include "core/report/page_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

using TTableData = std::vector<std::vector<std::string>>;

struct TTableColumn {
    std::string Caption;
    Alignment Justify = Alignment::Left;
    float Width = 0;    // mm, inner margins included
    float MinWidth = 0; // mm, least width when widths are distributed
    bool Fixed = false; // keeps its own width when widths are distributed
};

// A cell's memo buffer with the marks of its format prefix.
struct TBkMemobuf : MemoBuffer {
    bool CellBold = false;
    bool CellUnderline = false;
    Colour CellColor = kBlack;
};

class TTableReport {
  public:
    static constexpr double RowPadding = 2.0; // mm added to the font height; also the gap above the table

    TTableReport(bool boxed, bool showHeader) : Boxed(boxed), ShowHeader(showHeader) {}

    std::string Title; // empty: no title line
    bool Boxed;
    bool ShowHeader;
    bool ShowCaptions = true;
    bool AutoWidth = false;
    // Lines of the notes that the caller prints right under the table: the last row is placed only
    // where they fit below it, so that they stay on its page.
    int lineasNotas = 0;

    void AddColumn(std::string caption, Alignment justify, float width, float minWidth, bool fixed);
    // The rows stay the caller's and must outlive Print; the table never changes them.
    void SetData(const TTableData& data) { Data = &data; }

    // Prints the whole table at the current position. Afterwards the writer stands on the line after
    // the table, with its font and tab stops as before, and the table's line height in force.
    void Print(PageWriter& writer);
    // Sets the columns as tab stops across the printable area (distributing the width first when
    // AutoWidth is set).
    void LayoutColumns(PageWriter& writer);

    // Reads and removes the format prefix of a cell text into the buffer's marks.
    static void ReadCellFormat(TBkMemobuf& buffer, std::string& text);

    const std::vector<TTableColumn>& Columns() const { return ColumnList; }
    double TableWidth() const { return Width; }

  private:
    void DistributeWidths(int available);
    void ApplyLineHeight(PageWriter& writer) const;
    void PrintBody(PageWriter& writer);
    void PrintHeader(PageWriter& writer);
    void PrintRow(PageWriter& writer, const std::vector<std::string>& cells, bool captionRow);
    void PrintSpecialRow(PageWriter& writer, const std::string& first);
    void PrintCells(PageWriter& writer, std::vector<TBkMemobuf>& buffers, bool captionRow);
    // The cell buffers of a row, limited to their columns and with the marks of their prefixes.
    std::vector<TBkMemobuf> Celdas(PageWriter& writer, const std::vector<std::string>& cells,
                                   bool captionRow) const;
    // Lines a row takes: its tallest cell, or the fixed lines of a special row.
    int LineasFila(PageWriter& writer, const std::vector<std::string>& cells, bool captionRow) const;
    int LineasCabecera(PageWriter& writer) const;
    // Whether `lines` lines fit here and still leave the page footer the clearance of free text.
    bool Caben(const PageWriter& writer, int lines) const;
    void RuleStep(PageWriter& writer) const;
    void StepColumns(PageWriter& writer, const TabPaint& paint) const;
    // A page break before a row (`wholeRow`) repeats the header; one inside the last row does not.
    void TableNewPage(PageWriter& writer, bool wholeRow);
    int RowCount() const { return Data == nullptr ? 0 : static_cast<int>(Data->size()); }

    std::vector<TTableColumn> ColumnList;
    const TTableData* Data = nullptr;
    double Width = 0;
    int RowIndex = 0;
    int ContinuationCount = 0;
    // Whether the current page holds anything besides the page header and this table's header. A new
    // page is started only then, so that a page too small for the header cannot page without end.
    bool PageHasContent = false;
};

} // namespace tarvik
