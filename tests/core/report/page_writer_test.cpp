#include "core/report/recording_page_writer.h"

#include <gtest/gtest.h>

using namespace tarvik;

namespace {

// A4 with the report's margins: printable area 20..195 across, 10..282 down; 3 mm font, 5 mm lines.
// The line band then reaches 1.75 mm below the baseline.
void ReportPage(PageWriter& w) {
    w.setMargins(20, 15, 10, 15);
    w.setFontHeight(3);
    w.setLineHeight(5);
}

std::vector<std::string> Record(const std::function<void(PageWriter&)>& content) {
    RecordingPageWriter w;
    ReportPage(w);
    w.runJob(content);
    return w.log();
}

} // namespace

TEST(PageWriter, LinesLeftCountsWholeLinesAboveTheBottomEdge) {
    struct Case {
        double y;
        int expected;
    };
    const Case cases[] = {
        {280.25, 1}, // the line's bottom lies exactly on the edge
        {280.26, 0}, // a hair below it
        {275.25, 2}, // exactly one more line
        {275.26, 1}, {255.25, 6}, {260.25, 5},
    };
    RecordingPageWriter w;
    ReportPage(w);
    for (const Case& c : cases) {
        w.moveTo(20, c.y);
        EXPECT_EQ(w.linesLeft(), c.expected) << c.y;
    }
}

TEST(PageWriter, NewLineAndFirstLine) {
    RecordingPageWriter w;
    ReportPage(w);
    w.goToFirstLine();
    EXPECT_DOUBLE_EQ(w.y(), 10 + 5 - 1.75); // the first line's band starts at the top edge
    w.moveTo(80, 100);
    w.newLine();
    EXPECT_DOUBLE_EQ(w.x(), 20);
    EXPECT_DOUBLE_EQ(w.y(), 105);
    w.lineHeightFromFont();
    EXPECT_DOUBLE_EQ(w.lineHeight(), 3 * 1.15);
}

TEST(PageWriter, MemoBreaksAtSpacesAndInsideLongWords) {
    // 1.5 mm per character: 6 characters fit in 9 mm.
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"aaa bb cccc", {"aaa bb", "cccc"}},
        {"abcdefghij", {"abcdef", "ghij"}},
        {"ab\ncd\r\n\nef", {"ab", "cd", "", "ef"}},
        {"ab    cdefgh", {"ab", "cdefgh"}}, // the spaces at a break are dropped
        {"", {}},
    };
    for (const Case& c : cases) {
        RecordingPageWriter w;
        ReportPage(w);
        MemoBuffer memo{c.text, 50, 59, Alignment::Left, false, 0};
        EXPECT_EQ(w.memoLinesLeft(memo), static_cast<int>(c.lines.size())) << c.text;
        w.runJob([&](PageWriter& pw) {
            pw.moveTo(20, 100);
            pw.printMemo(memo, 99);
        });
        std::vector<std::string> expected = {"page 1"};
        double y = 100;
        for (const std::string& line : c.lines) {
            if (!line.empty())
                expected.push_back("text 50.00 " + std::to_string(static_cast<int>(y)) + ".00 \"" + line +
                                   "\" h=3.00");
            y += 5;
        }
        EXPECT_EQ(w.log(), expected) << c.text;
        EXPECT_DOUBLE_EQ(w.y(), y); // a new line after the last one
    }
}

TEST(PageWriter, ControlCharactersReachThePageAsSpaces) {
    const std::vector<std::string> log = Record([](PageWriter& w) {
        w.moveTo(20, 100);
        w.print("Technical \x1A"
                "Department");
        w.printRight("a\tb", 100);
        MemoBuffer memo{"x\x1Ay\nz", 20, 190, Alignment::Left, false, 0};
        w.printMemo(memo, 9);
    });
    EXPECT_EQ(
        log, (std::vector<std::string>{"page 1", "text 20.00 100.00 \"Technical  Department\" h=3.00",
                                       "text 95.50 100.00 \"a b\" h=3.00", "text 20.00 100.00 \"x y\" h=3.00",
                                       "text 20.00 105.00 \"z\" h=3.00"}));
}

TEST(PageWriter, MemoTakesAtLeastOneCharacterPerLine) {
    // Limits narrower than one character, even reversed ones, still make progress.
    RecordingPageWriter w;
    ReportPage(w);
    MemoBuffer memo{"abc", 30, 29, Alignment::Right, true, 0};
    EXPECT_EQ(w.memoLinesLeft(memo), 3);
    w.runJob([&](PageWriter& pw) {
        pw.moveTo(20, 100);
        pw.printMemo(memo, 2);
        EXPECT_EQ(pw.memoLinesLeft(memo), 1);
        EXPECT_DOUBLE_EQ(pw.y(), 105); // no new line after the last printed line
    });
    EXPECT_EQ(w.log(), (std::vector<std::string>{"page 1", "text 27.50 100.00 \"a\" h=3.00",
                                                 "text 27.50 105.00 \"b\" h=3.00"}));
}

TEST(PageWriter, TabStepPaintsShadeThenBoxLines) {
    const auto log = Record([](PageWriter& w) {
        w.setTab({20.0, Alignment::Centre, 40, 0, kBoxAll, 8});
        w.setTab({std::nullopt, Alignment::Right, 30, 10, kBoxLeft, 0}); // directly after the first
        w.moveTo(20, 100);
        w.setPen({kBlack, -2}); // 2/100 inch at 600 dpi = 12 px
        w.printTab("Title");
        w.tabStep({TabPaint::kAsSet, 3, 0, TabPaint::kAsSet, 50});
        const TabLimits limits = w.tabLimits();
        EXPECT_DOUBLE_EQ(limits.left, 60 + 2.54);
        EXPECT_DOUBLE_EQ(limits.right, 90 - 2.54);
        w.tabStep(); // no further tab stop: nothing
    });
    EXPECT_EQ(log, (std::vector<std::string>{
                       "page 1",
                       "fill 20.00 96.75 60.00 101.75 #F4F4F4", // 8 % of grey 128 gives 244
                       "line 20.00 96.75 20.00 101.75 px=12",
                       "line 60.00 96.75 60.00 101.75 px=12",
                       "line 20.00 96.75 60.00 96.75 px=12",
                       "line 20.00 101.75 60.00 101.75 px=12",
                       "text 36.25 100.00 \"Title\" h=3.00",
                       "fill 60.00 96.75 90.00 101.75 #BFBFBF", // 128 + 50 * 127 / 100 = 191
                       "line 60.00 96.75 60.00 101.75 px=12",
                       "line 90.00 96.75 90.00 101.75 px=3",
                   }));
}

TEST(PageWriter, PrintInTabCutsTheTextToFit) {
    const auto log = Record([](PageWriter& w) {
        w.setTab({20.0, Alignment::Left, 10, 0, 0, 0});
        w.moveTo(20, 100);
        w.printTab("abcdefghij"); // 1.5 mm a character: 6 fit in 10 mm
    });
    EXPECT_EQ(log.back(), "text 20.00 100.00 \"abcdef\" h=3.00");
}

TEST(PageWriter, FrameRunsOnEveryPageAndFreshnessEndsWithDrawing) {
    struct Frame : PageFrame {
        std::vector<std::string> calls;
        void pageBegun(PageWriter&) override { calls.push_back("begun"); }
        void header(PageWriter& w) override {
            calls.push_back("header");
            w.printAt(20, 20, "H");
        }
        void footer(PageWriter&) override { calls.push_back("footer"); }
    } frame;
    RecordingPageWriter w;
    ReportPage(w);
    w.setFrame(&frame);
    w.runJob([](PageWriter& pw) {
        EXPECT_TRUE(pw.pageIsFresh());
        pw.print("x");
        EXPECT_FALSE(pw.pageIsFresh());
        pw.newPage();
        EXPECT_TRUE(pw.pageIsFresh());
    });
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"begun", "header", "footer", "begun", "header", "footer"}));
}
