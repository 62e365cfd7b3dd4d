#include "core/report/recording_page_writer.h"
#include "core/report/table_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarvik;

namespace {

const std::string kContinued = "Consumo (continuaci\xF3n)";

struct Printed {
    std::string text;
    double x;
    double y;
    std::string attributes;
};

// A page header that uses a 4 mm font and leaves the content starting on the line under T + 10.
struct TallHeader : PageFrame {
    void header(PageWriter& w) override {
        w.setFontHeight(4);
        w.lineHeightFromFont();
        w.printAt(w.area().left, w.area().top + 5, "HEADER");
        w.moveTo(w.area().left, w.area().top + 10);
        w.newLine();
    }
};

// A4 with the report's margins (printable area 20..195 across, 10..282 down) and a 3 mm font, so
// table lines are 5 mm high and a line's band reaches 1.75 mm below its baseline.
void ReportPage(PageWriter& w) {
    w.setMargins(20, 15, 10, 15);
    w.setFontHeight(3);
}

// The gap above a table that leaves exactly `lines` lines for its first row on a report page.
double GapForLinesLeft(int lines) {
    return 282 - 1.75 - (lines - 1) * 5.0 - TTableReport::RowPadding;
}

std::vector<Printed> Parsed(const RecordingPageWriter& writer) {
    std::vector<Printed> out;
    for (const std::string& entry : writer.log()) {
        if (entry.starts_with("page ")) {
            out.push_back({entry, 0, 0, ""});
        } else if (entry.starts_with("text ")) {
            const auto open = entry.find('"');
            const auto close = entry.rfind('"');
            const double x = std::stod(entry.substr(5));
            const double y = std::stod(entry.substr(entry.find(' ', 5)));
            out.push_back({entry.substr(open + 1, close - open - 1), x, y, entry.substr(close + 1)});
        }
    }
    return out;
}

// Texts in order, with "page N" where a page begins.
std::vector<std::string> Texts(const RecordingPageWriter& writer) {
    std::vector<std::string> texts;
    for (const Printed& p : Parsed(writer))
        texts.push_back(p.text);
    return texts;
}

std::vector<std::vector<std::string>> TextsByPage(const RecordingPageWriter& writer) {
    std::vector<std::vector<std::string>> pages;
    for (const Printed& p : Parsed(writer)) {
        if (p.text.starts_with("page "))
            pages.emplace_back();
        else
            pages.back().push_back(p.text);
    }
    return pages;
}

std::vector<std::string> Start(const std::vector<std::string>& texts, std::size_t count) {
    return {texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(std::min(count, texts.size()))};
}

Printed Find(const RecordingPageWriter& writer, const std::string& text) {
    for (const Printed& p : Parsed(writer))
        if (p.text == text)
            return p;
    ADD_FAILURE() << "not printed: " << text;
    return {};
}

std::vector<std::string> Lines(const RecordingPageWriter& writer) {
    std::vector<std::string> lines;
    for (const std::string& entry : writer.log())
        if (entry.starts_with("line ") || entry.starts_with("fill "))
            lines.push_back(entry);
    return lines;
}

// The billing table's shape: title "Consumo", a month column and an energy column.
TTableReport ConsumoTable(bool boxed, bool showHeader) {
    TTableReport table(boxed, showHeader);
    table.Title = "Consumo";
    table.AddColumn("Mes", Alignment::Left, 30, 10, false);
    table.AddColumn("kWh", Alignment::Right, 30, 10, false);
    return table;
}

class TableReportTest : public ::testing::Test {
  protected:
    TableReportTest() { ReportPage(writer); }

    // Prints the table with its gap starting at `y`; with `afterContent` something is printed on the
    // page first, so the page is not fresh.
    void Print(TTableReport& table, double y = 50, bool afterContent = true) {
        writer.runJob([&](PageWriter& w) {
            if (afterContent)
                w.printAt(20, 30, "before");
            w.moveTo(20, y);
            table.Print(w);
        });
    }

    RecordingPageWriter writer;
};

TTableData Rows(int count) {
    TTableData rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({"r" + std::to_string(i), std::to_string(i * 100)});
    return rows;
}

} // namespace

TEST_F(TableReportTest, AutoWidthSharesWholeMillimetres) {
    struct Column {
        float width;
        float minWidth;
        bool fixed;
    };
    struct Case {
        const char* name;
        double rightMargin;
        std::vector<Column> columns;
        std::vector<float> expected;
    };
    auto Same = [](std::size_t n, Column column) { return std::vector<Column>(n, column); };
    const float seventh = 100.0f / 7;
    const float sixth = 100.0f / 6;
    const Case cases[] = {
        {"one wide of seven",
         15,
         {{seventh, 10, false},
          {seventh + 10, 10, false},
          {seventh, 10, false},
          {seventh, 10, false},
          {seventh, 10, false},
          {seventh, 10, false},
          {seventh, 10, false}},
         {23, 39, 22, 23, 23, 22, 23}},
        {"four quarters", 15, Same(4, {25, 10, false}), {44, 44, 43, 44}},
        {"six sixths", 15, Same(6, {sixth, 10, false}), {29, 29, 30, 29, 29, 29}},
        {"share below the minimum", 15, {{10, 30, false}, {90, 10, false}}, {30, 145}},
        {"share equal to the minimum", 15, {{20, 35, false}, {80, 10, false}}, {35, 140}},
        {"fixed column", 15, {{50, 10, true}, {25, 10, false}, {25, 10, false}}, {50, 63, 62}},
        {"widths rounded half to even",
         15,
         {{24.5f, 10, true}, {25.5f, 10, true}, {100, 10, false}},
         {24, 26, 125}},
        {"available 174.5 goes to 174", 15.5, Same(4, {25, 10, false}), {44, 43, 44, 43}},
        {"available 175.5 goes to 176", 14.5, Same(4, {25, 10, false}), {44, 44, 44, 44}},
        {"nothing requested", 15, {{0, 0, false}, {30, 10, true}}, {0, 30}},
    };
    for (const Case& c : cases) {
        writer.setMargins(20, c.rightMargin, 10, 15);
        TTableReport table(true, true);
        table.AutoWidth = true;
        for (const Column& column : c.columns)
            table.AddColumn("", Alignment::Right, column.width, column.minWidth, column.fixed);
        table.LayoutColumns(writer);
        std::vector<float> widths;
        for (const TTableColumn& column : table.Columns())
            widths.push_back(column.Width);
        EXPECT_EQ(widths, c.expected) << c.name;
        float sum = 0;
        for (float w : c.expected)
            sum += w;
        EXPECT_EQ(table.TableWidth(), sum) << c.name;
    }
}

TEST_F(TableReportTest, WidthsStayAsGivenWithoutAutoWidth) {
    TTableReport table(false, false);
    table.AddColumn("", Alignment::Left, 50, 10, false);
    table.AddColumn("", Alignment::Left, 70, 10, false);
    table.LayoutColumns(writer);
    EXPECT_EQ(table.Columns()[0].Width, 50);
    EXPECT_EQ(table.Columns()[1].Width, 70);
    EXPECT_EQ(table.TableWidth(), 120);
}

// The whole drawing of a small boxed table: shaded title band, captions centred, the rule above and
// under every row, side lines on every line of a wrapped row, cell marks.
TEST_F(TableReportTest, BoxedTableDrawing) {
    TTableReport table(true, true);
    table.Title = "Consumo";
    table.AddColumn("Mes", Alignment::Left, 30, 10, false);
    table.AddColumn("{f\\B}kWh", Alignment::Right, 20, 10, false);
    const TTableData rows = {{"Enero", "1200"}, {"{f\\S}Febrero largo de verdad", "{f\\C255}900"}};
    table.SetData(rows);
    Print(table);
    const std::vector<std::string> expected = {
        "page 1",
        "text 20.00 30.00 \"before\" h=3.00",
        // title band on the line at 52 (50 + the 2 mm gap): shade, box, bold centred title
        "fill 20.00 48.75 70.00 53.75 #F4F4F4",
        "line 20.00 48.75 20.00 53.75 px=1",
        "line 70.00 48.75 70.00 53.75 px=1",
        "line 20.00 48.75 70.00 48.75 px=1",
        "line 20.00 53.75 70.00 53.75 px=1",
        "text 39.75 52.00 \"Consumo\" h=3.00 bold",
        // caption row: rule above, side lines, centred captions (bold only when marked)
        "line 20.00 53.75 50.00 53.75 px=1",
        "line 50.00 53.75 70.00 53.75 px=1",
        "line 20.00 53.75 20.00 58.75 px=1",
        "line 50.00 53.75 50.00 58.75 px=1",
        "text 32.75 57.00 \"Mes\" h=3.00",
        "line 50.00 53.75 50.00 58.75 px=1",
        "line 70.00 53.75 70.00 58.75 px=1",
        "text 57.75 57.00 \"kWh\" h=3.00 bold",
        "line 20.00 58.75 50.00 58.75 px=1",
        "line 50.00 58.75 70.00 58.75 px=1",
        // first row
        "line 20.00 58.75 50.00 58.75 px=1",
        "line 50.00 58.75 70.00 58.75 px=1",
        "line 20.00 58.75 20.00 63.75 px=1",
        "line 50.00 58.75 50.00 63.75 px=1",
        "text 20.76 62.00 \"Enero\" h=3.00",
        "line 50.00 58.75 50.00 63.75 px=1",
        "line 70.00 58.75 70.00 63.75 px=1",
        "text 63.24 62.00 \"1200\" h=3.00",
        "line 20.00 63.75 50.00 63.75 px=1",
        "line 50.00 63.75 70.00 63.75 px=1",
        // second row, wrapped: only the first cell prints on its second line, the side lines go on
        "line 20.00 63.75 50.00 63.75 px=1",
        "line 50.00 63.75 70.00 63.75 px=1",
        "line 20.00 63.75 20.00 68.75 px=1",
        "line 50.00 63.75 50.00 68.75 px=1",
        "text 20.76 67.00 \"Febrero largo de\" h=3.00 underline",
        "line 50.00 63.75 50.00 68.75 px=1",
        "line 70.00 63.75 70.00 68.75 px=1",
        "text 64.74 67.00 \"900\" h=3.00 #FF0000",
        "line 20.00 68.75 20.00 73.75 px=1",
        "line 50.00 68.75 50.00 73.75 px=1",
        "text 20.76 72.00 \"verdad\" h=3.00 underline",
        "line 50.00 68.75 50.00 73.75 px=1",
        "line 70.00 68.75 70.00 73.75 px=1",
        "line 20.00 73.75 50.00 73.75 px=1",
        "line 50.00 73.75 70.00 73.75 px=1",
    };
    EXPECT_EQ(writer.log(), expected);
}

TEST_F(TableReportTest, PrintRestoresFontAndTabsAndKeepsItsLineHeight) {
    TTableReport table(true, true);
    table.AddColumn("A", Alignment::Left, 30, 10, false);
    const TTableData rows = Rows(2);
    table.SetData(rows);
    writer.runJob([&](PageWriter& w) {
        w.setTab({100.0, Alignment::Left, 40, 0, 0, 0});
        w.setBold(true);
        w.moveTo(20, 50);
        table.Print(w);
        EXPECT_TRUE(w.font().bold);
        EXPECT_DOUBLE_EQ(w.lineHeight(), 5);
        EXPECT_DOUBLE_EQ(w.y(), 52 + 3 * 5); // caption and two rows, then the line after the table
        w.rewindTabs();
        w.tabStep();
        EXPECT_DOUBLE_EQ(w.tabLimits().left, 100);
    });
}

TEST_F(TableReportTest, HeaderOptions) {
    struct Case {
        bool showHeader;
        const char* title;
        bool showCaptions;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {false, "", true, {"r1", "100"}},
        {false, "Consumo", true, {"r1", "100"}},
        {true, "", true, {"Mes", "kWh", "r1", "100"}},
        {true, "Consumo", false, {"Consumo", "r1", "100"}},
        {true, "Consumo", true, {"Consumo", "Mes", "kWh", "r1", "100"}},
    };
    for (const Case& c : cases) {
        RecordingPageWriter w;
        TTableReport table = ConsumoTable(false, c.showHeader);
        table.Title = c.title;
        table.ShowCaptions = c.showCaptions;
        const TTableData rows = Rows(1);
        table.SetData(rows);
        w.runJob([&](PageWriter& pw) { table.Print(pw); });
        std::vector<std::string> expected = {"page 1"};
        expected.insert(expected.end(), c.texts.begin(), c.texts.end());
        EXPECT_EQ(Texts(w), expected) << c.showHeader << " '" << c.title << "' " << c.showCaptions;
        EXPECT_EQ(Lines(w), std::vector<std::string>()) << "not boxed";
    }
}

TEST_F(TableReportTest, RowThatDoesNotFitMovesToTheNextPage) {
    struct Case {
        int linesLeft;
        int notes; // lines of notes under the table
        std::vector<std::string> texts;
    };
    // A row of 5 lines needs 5 lines and the two that free text keeps free above the page footer;
    // as the last row, also the lines of the notes that follow the table.
    const Case cases[] = {
        {6, 0, {"page 1", "before", "page 2", "1", "2", "3", "4", "5"}},
        {7, 0, {"page 1", "before", "1", "2", "3", "4", "5"}},
        {8, 2, {"page 1", "before", "page 2", "1", "2", "3", "4", "5"}},
        {9, 2, {"page 1", "before", "1", "2", "3", "4", "5"}},
    };
    for (const Case& c : cases) {
        RecordingPageWriter w;
        ReportPage(w);
        TTableReport table(false, false);
        table.lineasNotas = c.notes;
        table.AddColumn("", Alignment::Left, 50, 10, false);
        const TTableData rows = {{"1\n2\n3\n4\n5"}};
        table.SetData(rows);
        w.runJob([&](PageWriter& pw) {
            pw.printAt(20, 30, "before");
            pw.moveTo(20, GapForLinesLeft(c.linesLeft) + TTableReport::RowPadding);
            pw.setLineHeight(5);
            ASSERT_EQ(pw.linesLeft(), c.linesLeft);
            pw.moveTo(20, GapForLinesLeft(c.linesLeft));
            table.Print(pw);
        });
        EXPECT_EQ(Texts(w), c.texts) << c.linesLeft << " lines left, " << c.notes << " of notes";
    }
}

TEST_F(TableReportTest, HeaderStaysWithTheFirstRow) {
    // Title, captions and the first row need three lines and the two above the footer.
    struct Case {
        int linesLeft;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {4, {"page 1", "before", "page 2", "Consumo", "Mes", "kWh", "r1", "100", "r2", "200"}},
        {5,
         {"page 1", "before", "Consumo", "Mes", "kWh", "r1", "100", "page 2", kContinued, "Mes", "kWh", "r2",
          "200"}},
    };
    for (const Case& c : cases) {
        RecordingPageWriter w;
        ReportPage(w);
        TTableReport table = ConsumoTable(true, true);
        const TTableData rows = Rows(2);
        table.SetData(rows);
        w.runJob([&](PageWriter& pw) {
            pw.printAt(20, 30, "before");
            pw.moveTo(20, GapForLinesLeft(c.linesLeft));
            table.Print(pw);
        });
        EXPECT_EQ(Texts(w), c.texts) << c.linesLeft << " lines left";
    }
}

TEST_F(TableReportTest, ContinuationTitlesAndCaptionsOnEveryPage) {
    TallHeader frame;
    writer.setFrame(&frame);
    TTableReport table = ConsumoTable(true, true);
    const TTableData rows = Rows(100);
    table.SetData(rows);
    writer.runJob([&](PageWriter& w) {
        w.setFontHeight(3);
        w.print("before");
        w.newLine();
        table.Print(w);
    });

    const auto pages = TextsByPage(writer);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(Start(pages[0], 7),
              (std::vector<std::string>{"HEADER", "before", "Consumo", "Mes", "kWh", "r1", "100"}));
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_EQ(Start(pages[i], 4), (std::vector<std::string>{"HEADER", kContinued, "Mes", "kWh"}))
            << i + 1;
    // Every row printed once, in order.
    std::vector<std::string> printedRows;
    for (const auto& page : pages)
        for (const std::string& text : page)
            if (text.starts_with("r"))
                printedRows.push_back(text);
    ASSERT_EQ(printedRows.size(), 100u);
    EXPECT_EQ(printedRows.back(), "r100");
    // After a break the table goes on in its own 3 mm font and 5 mm lines, not the page header's.
    const Printed first = Find(writer, pages[1][4]);
    EXPECT_DOUBLE_EQ(Find(writer, pages[1][6]).y - first.y, 5);
    EXPECT_EQ(first.attributes, " h=3.00");
    EXPECT_DOUBLE_EQ(Find(writer, "r2").y - Find(writer, "r1").y, 5);
}

TEST_F(TableReportTest, RowTallerThanAPageContinuesAfterTheHeaderUnlessItIsTheLast) {
    // A 20-line cell on a page of about 14 lines. It does not fit after r1, so it starts on the next
    // page after the header, and is split where that page fills up.
    std::string tall;
    for (int i = 1; i <= 20; ++i)
        tall += "t" + std::to_string(i) + "\n";
    for (const bool tallIsLast : {false, true}) {
        RecordingPageWriter w(210, 100);
        ReportPage(w);
        TTableReport table = ConsumoTable(true, true);
        TTableData rows = {{"r1", "1"}, {tall, "2"}};
        if (!tallIsLast)
            rows.push_back({"r3", "3"});
        table.SetData(rows);
        w.runJob([&](PageWriter& pw) { table.Print(pw); });

        const auto pages = TextsByPage(w);
        ASSERT_GE(pages.size(), 3u);
        EXPECT_EQ(pages[0], (std::vector<std::string>{"Consumo", "Mes", "kWh", "r1", "1"}));
        const std::vector<std::string> header = {kContinued, "Mes", "kWh"};
        // Page 2: the header, then the row from its first line.
        std::vector<std::string> expected = header;
        expected.insert(expected.end(), {"t1", "2", "t2"});
        EXPECT_EQ(Start(pages[1], expected.size()), expected) << (tallIsLast ? "last" : "not last");
        // Page 3 goes on with the next line of the row, after the header again unless it is the last.
        expected = tallIsLast ? std::vector<std::string>() : header;
        expected.push_back("t" + std::to_string(std::stoi(pages[1].back().substr(1)) + 1));
        EXPECT_EQ(Start(pages[2], expected.size()), expected) << (tallIsLast ? "last" : "not last");
    }
}

TEST_F(TableReportTest, TableEndingNearTheBottomClosesOnItsOwnPage) {
    TTableReport table(true, false);
    table.AddColumn("", Alignment::Left, 50, 10, false);
    const TTableData rows = {{"a"}, {"b"}, {"c"}};
    table.SetData(rows);
    Print(table, GapForLinesLeft(5));
    // "c" on the lowest line that keeps clear of the footer; its rule closes the table under it, on
    // the same page, and no page is begun for nothing.
    EXPECT_EQ(Texts(writer), (std::vector<std::string>{"page 1", "before", "a", "b", "c"}));
    EXPECT_EQ(Lines(writer).back(), "line 20.00 272.00 70.00 272.00 px=1");
}

TEST_F(TableReportTest, SpecialRows) {
    TTableReport table(true, false);
    table.AddColumn("A", Alignment::Right, 40, 10, false);
    table.AddColumn("B", Alignment::Right, 40, 10, false);
    const TTableData rows = {
        {"*", "hidden 1"}, {"*Note", "hidden 2"}, {"$Total", "hidden 3"}, {"${f\\B|C65280}Sum", "hidden 4"},
        {"x", "y"},
    };
    table.SetData(rows);
    Print(table);
    EXPECT_EQ(Texts(writer),
              (std::vector<std::string>{"page 1", "before", "Note", "Total", "Sum", "x", "y"}));

    // Separator on the line at 52: a bottom rule under it across both columns, then the rule above
    // the next line. The free line comes after an empty line, at the left edge.
    const auto lines = Lines(writer);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "line 20.00 53.75 60.00 53.75 px=1");
    EXPECT_EQ(lines[1], "line 60.00 53.75 100.00 53.75 px=1");
    const Printed note = Find(writer, "Note");
    EXPECT_DOUBLE_EQ(note.x, 20);
    EXPECT_DOUBLE_EQ(note.y, 52 + 2 * 5);
    // "$" rows: one left-justified cell as wide as the table, boxed, with the marks of its prefix.
    const Printed total = Find(writer, "Total");
    EXPECT_NEAR(total.x, 20 + 0.762, 0.005);
    EXPECT_DOUBLE_EQ(total.y, note.y + 5);
    EXPECT_EQ(total.attributes, " h=3.00");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "line 100.00 63.75 100.00 68.75 px=1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "line 20.00 68.75 100.00 68.75 px=1"), lines.end());
    EXPECT_EQ(Find(writer, "Sum").attributes, " h=3.00 bold #00FF00");
    EXPECT_EQ(Find(writer, "x").attributes, " h=3.00"); // the "$" row's font does not leak
}

TEST_F(TableReportTest, ReadCellFormat) {
    struct Case {
        std::string text;
        std::string left;
        bool bold;
        bool underline;
        Colour colour;
    };
    const Case cases[] = {
        {"{f\\B|C255}Total", "Total", true, false, 255},
        {"{f\\S}x", "x", false, true, 0},
        {"y", "y", false, false, 0},
        {"{f\\B}", "", true, false, 0},
        {"{f\\B", "", true, false, 0}, // no closing brace: the rest is the mark list
        {"ab{f\\B}c", "ab{f\\B}c", false, false, 0},
        {"{f\\}x", "{f\\}x", false, false, 0}, // an empty list is not a prefix
        {"{f\\Q||S}x", "x", false, true, 0},   // unknown and empty marks are ignored
        {"{f\\C16777215}x", "x", false, false, 0xFFFFFF},
        {"{f\\|B}x", "x", true, false, 0},
        // Colour marks that are not a whole number of at most 0x00FFFFFF are ignored.
        {"{f\\C}x", "x", false, false, 0},
        {"{f\\Cx|B}x", "x", true, false, 0},
        {"{f\\C-1}x", "x", false, false, 0},
        {"{f\\C12a}x", "x", false, false, 0},
        {"{f\\C16777216}x", "x", false, false, 0},
        {"{f\\C99999999999999999999999}x", "x", false, false, 0},
    };
    for (const Case& c : cases) {
        TBkMemobuf buffer;
        buffer.CellBold = true; // every call starts from no marks
        buffer.CellUnderline = true;
        buffer.CellColor = 7;
        std::string text = c.text;
        TTableReport::ReadCellFormat(buffer, text);
        EXPECT_EQ(text, c.left) << c.text;
        EXPECT_EQ(buffer.CellBold, c.bold) << c.text;
        EXPECT_EQ(buffer.CellUnderline, c.underline) << c.text;
        EXPECT_EQ(buffer.CellColor, c.colour) << c.text;
    }
}

TEST_F(TableReportTest, BadColourMarkPrintsTheRestOfTheTable) {
    TTableReport table(true, true);
    table.AddColumn("Mes", Alignment::Left, 30, 10, false);
    const TTableData rows = {{"{f\\C}Enero"}, {"{f\\Cx}Febrero"}, {"Marzo"}};
    table.SetData(rows);
    Print(table);
    EXPECT_EQ(Texts(writer),
              (std::vector<std::string>{"page 1", "before", "Mes", "Enero", "Febrero", "Marzo"}));
}

TEST_F(TableReportTest, PageTooSmallForTheHeaderStillEnds) {
    // Room for one line below the page header: title and captions never fit, and the caption wraps.
    TallHeader frame;
    RecordingPageWriter w(210, 40);
    w.setMargins(20, 15, 10, 15);
    w.setFrame(&frame);
    TTableReport table = ConsumoTable(true, true);
    table.AddColumn("Mes largo de verdad", Alignment::Left, 12, 10, false);
    const TTableData rows = {{"r1", "1", ""}, {"r2", "2", ""}, {"r3", "3", ""}, {"r4", "4", ""}};
    table.SetData(rows);
    w.runJob([&](PageWriter& pw) {
        pw.print("before");
        table.Print(pw);
    });
    const auto pages = TextsByPage(w);
    std::vector<std::string> printedRows;
    for (const auto& page : pages)
        for (const std::string& text : page)
            if (text.starts_with("r"))
                printedRows.push_back(text);
    EXPECT_EQ(printedRows, (std::vector<std::string>{"r1", "r2", "r3", "r4"}));
    EXPECT_LE(pages.size(), 6u); // a page per row beyond the first, and the closing break
}

TEST_F(TableReportTest, RowOnAFreshPageStartsThere) {
    // Nothing on the page yet: a row that needs more lines than are left is not pushed onto an
    // empty page of its own, and the body does not move on for want of lines. It is split under
    // its first line, the lowest that keeps clear of the footer.
    TTableReport table(false, false);
    table.AddColumn("", Alignment::Left, 50, 10, false);
    const TTableData rows = {{"1\n2\n3\n4\n5"}};
    table.SetData(rows);
    Print(table, GapForLinesLeft(3), false);
    const auto pages = TextsByPage(writer);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(pages[0], (std::vector<std::string>{"1"}));
    EXPECT_EQ(pages[1].front(), "2");
}

TEST_F(TableReportTest, ColumnNarrowerThanItsMarginsPrintsACharacterPerLine) {
    TTableReport table(false, false);
    table.AddColumn("", Alignment::Left, 1, 0, false);
    const TTableData rows = {{"abc"}};
    table.SetData(rows);
    Print(table);
    EXPECT_EQ(Texts(writer), (std::vector<std::string>{"page 1", "before", "a", "b", "c"}));
}
