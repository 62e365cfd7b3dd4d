#pragma once
// The page writer on which the calculation report is drawn: a line-and-tab-stop model of a page in
// millimetres (Y grows downward). This class keeps the whole layout state (printable area, position,
// fonts, line height, tab stops, pen) and turns every operation into a few device primitives
// (text at a point, line, filled rectangle, picture, page begin/end) that a concrete writer renders:
// the Qt writer onto real pages, the recording writer into a text log for the tests.
//
// Geometry of a line: the current Y is the baseline of the current line. The line is a band one line
// height tall in which the font's em box (the font height) sits centred, a quarter of the em box below
// the baseline; so the band reaches (line height - font height) / 2 + font height / 4 below Y.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A colour as 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) {
    return (blue & 0xFFu) << 16 | (green & 0xFFu) << 8 | (red & 0xFFu);
}
inline constexpr Colour kBlack = 0;

enum class Alignment : std::uint8_t { Centre = 0, Left = 1, Right = 2, Block = 3 };

inline constexpr double kMmPerInch = 25.4;
inline constexpr double kMmPerPoint = kMmPerInch / 72.0;
// Inner margins of tab stops are given in hundredths of an inch.
inline constexpr double kMmPerHundredthInch = kMmPerInch / 100.0;

struct Area {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
};

struct Rect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct DeviceRect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

struct PictureSize {
    int width = 0; // pixels (or units of a vector picture)
    int height = 0;
};

struct Font {
    std::string name = "Arial";
    double height = 10 * kMmPerPoint; // character height in mm
    bool bold = false;
    bool underline = false;
    Colour colour = kBlack;

    bool operator==(const Font&) const = default;
};

// A solid pen. A positive width is in device pixels; a negative width -n means n hundredths of an
// inch, at least one device pixel.
struct Pen {
    Colour colour = kBlack;
    int width = 1;
};

// Box lines of a tab stop.
inline constexpr int kBoxLeft = 1;
inline constexpr int kBoxRight = 2;
inline constexpr int kBoxTop = 4;
inline constexpr int kBoxBottom = 8;
inline constexpr int kBoxAll = kBoxLeft | kBoxRight | kBoxTop | kBoxBottom;

struct TabStop {
    std::optional<double> position; // absolute mm; none = directly after the previous tab stop
    Alignment justify = Alignment::Left;
    double width = 0;
    int margin = 0;   // hundredths of an inch, on both sides of the text
    int boxLines = 0; // kBox* bits
    int shade = 0;    // percent 0..100; 0 = none, the writer's default shade applies
};

// Overrides for one tab step. kAsSet keeps the tab stop's own setting; 0 draws nothing; a positive
// number draws that line with a black pen of that many device pixels, or for the shade a percentage.
struct TabPaint {
    static constexpr int kAsSet = -1;
    int left = kAsSet;
    int right = kAsSet;
    int top = kAsSet;
    int bottom = kAsSet;
    int shade = kAsSet;

    static constexpr TabPaint Nothing() { return {0, 0, 0, 0, 0}; }
};

struct TabLimits {
    double left = 0;
    double right = 0;
};

// A text broken into lines between two limits. The writer measures and prints it with the font in
// force at that moment; `position` is the read position (a byte offset into `text`).
struct MemoBuffer {
    std::string text;
    double left = 0;
    double right = 0;
    Alignment justify = Alignment::Left;
    bool noNewLine = false; // do not advance to a new line after the last printed line
    std::size_t position = 0;

    // Whether every line has been printed; cheaper than counting the lines left.
    bool finished() const { return position >= text.size(); }
};

class PageWriter;

// Handlers that frame every page: `pageBegun` and `header` run when a page begins (the first one
// included), `footer` when it ends (the last one included).
class PageFrame {
  public:
    virtual ~PageFrame() = default;
    virtual void pageBegun(PageWriter&) {}
    virtual void header(PageWriter&) {}
    virtual void footer(PageWriter&) {}
};

class PageWriter {
  public:
    virtual ~PageWriter() = default;
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    // The print job: begins the first page, runs `content`, ends the last page.
    void runJob(const std::function<void(PageWriter&)>& content);
    void setFrame(PageFrame* frame) { frame_ = frame; }
    // Ends the page (footer) and begins the next one (page handlers, header). Tab stops survive.
    void newPage();
    // A page break inside running content: as newPage, and then the content goes on in the font and
    // line height that were in force before the break, whatever the page header set for itself.
    void continueOnNewPage();
    // True from the end of a page's header until anything is drawn on the page.
    bool pageIsFresh() const { return fresh_; }

    // Page set-up.
    double pageWidth() const { return pageWidth_; }
    double pageHeight() const { return pageHeight_; }
    // Sets the page margins and resets the printable area to the page inside them.
    void setMargins(double left, double right, double top, double bottom);
    const Area& area() const { return area_; }
    void setArea(const Area& area) { area_ = area; }
    // Goes to the first line of the printable area, at its left edge, before the first tab stop.
    void goToFirstLine();

    // Position.
    double x() const { return x_; }
    double y() const { return y_; }
    void moveTo(double x, double y);

    // Fonts.
    const Font& font() const { return font_; }
    double fontHeight() const { return font_.height; }
    void setFontName(std::string name) { font_.name = std::move(name); }
    void setFontSize(double points) { font_.height = points * kMmPerPoint; }
    void setFontHeight(double mm) { font_.height = mm; }
    void setBold(bool on) { font_.bold = on; }
    void setUnderline(bool on) { font_.underline = on; }
    void setFontColour(Colour colour) { font_.colour = colour; }
    void pushFont() { fontStack_.push_back(font_); }
    void popFont();

    // Lines.
    void setLineHeight(double mm) { explicitLineHeight_ = mm; }
    void lineHeightFromFont() { explicitLineHeight_.reset(); }
    double lineHeight() const;
    // Y grows by one line height, X returns to the left edge, the next tab step starts at the first
    // tab stop. Never starts a new page.
    void newLine();
    // Lines that still fit above the bottom edge, counting the current one.
    int linesLeft() const;

    // Tab stops.
    void setTab(const TabStop& tab);
    void clearTabs();
    void pushTabs() { tabStack_.push_back(tabs_); }
    void popTabs();
    // The next tab step starts again at the first tab stop of the current line.
    void rewindTabs() { tabs_.next = 0; }
    // Advances to the next tab stop (nothing when there is none) and paints its shade and box lines.
    void tabStep(const TabPaint& paint = {});
    TabLimits tabLimits() const;
    // Tab step as set, then the text inside the tab's limits with its justification, cut at the end
    // until it fits.
    void printTab(std::string_view text);
    void setShadeColour(Colour colour) { shadeColour_ = colour; }
    void setDefaultShade(int percent) { defaultShade_ = percent; }

    // Text.
    virtual double textWidth(std::string_view text) const = 0; // with the current font, in mm
    // At the current position, left-aligned; X moves past the text.
    void print(std::string_view text);
    void printLine(std::string_view text);
    void printAt(double x, double baseline, std::string_view text);
    // Right-aligned so that it ends at `xEnd`, on the current line.
    void printRight(std::string_view text, double xEnd);

    // Memo buffers. A line holds as many words as fit (a word wider than the limits is broken between
    // characters, at least one character per line); a line break in the text forces a new line.
    int memoLinesLeft(const MemoBuffer& memo) const;
    // Prints up to `count` lines from the read position on the current line and the following ones.
    void printMemo(MemoBuffer& memo, int count);

    // Drawing.
    void setPen(const Pen& pen) { pen_ = pen; }
    // Draws from the current position to (x, y) with the current pen and moves there.
    void lineTo(double x, double y);
    // Pictures are named: a resource, a file or a picture that the platform renders.
    virtual std::optional<PictureSize> pictureSize(const std::string& picture) const = 0;
    void drawPicture(const std::string& picture, const Rect& rect);
    DeviceRect rectToDevice(const Rect& rect) const;
    Rect rectFromDevice(const DeviceRect& rect) const;

  protected:
    PageWriter(double pageWidth, double pageHeight);

    // Device primitives. Text is Windows-1252 and drawn with font().
    virtual double dotsPerInch() const = 0;
    virtual void beginPage() = 0;
    virtual void endPage() = 0;
    virtual void drawText(double x, double baseline, std::string_view text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) = 0;
    virtual void fillRect(const Rect& rect, Colour colour) = 0;
    virtual void renderPicture(const std::string& picture, const Rect& rect) = 0;

  private:
    struct Tabs {
        std::vector<TabStop> stops; // positions resolved
        std::size_t next = 0;       // index of the next tab step
    };
    struct MemoLine {
        std::size_t begin;
        std::size_t end;
        std::size_t next;
    };

    void beginPageWithFrame();
    void endPageWithFrame();
    double belowBaseline() const;
    double lineBottom() const { return y_ + belowBaseline(); }
    double lineTop() const { return lineBottom() - lineHeight(); }
    void text(double x, double baseline, std::string_view text);
    void line(double x1, double y1, double x2, double y2, Colour colour, int pixels);
    void fill(const Rect& rect, Colour colour);
    int penPixels(const Pen& pen) const;
    void printAligned(std::string_view text, double left, double right, Alignment justify);
    MemoLine memoLine(const MemoBuffer& memo, std::size_t from) const;

    double pageWidth_;
    double pageHeight_;
    Area area_;
    double x_ = 0;
    double y_ = 0;
    Font font_;
    std::vector<Font> fontStack_;
    std::optional<double> explicitLineHeight_;
    Tabs tabs_;
    std::vector<Tabs> tabStack_;
    Colour shadeColour_ = Rgb(128, 128, 128);
    int defaultShade_ = 0;
    Pen pen_;
    PageFrame* frame_ = nullptr;
    bool fresh_ = false;
};

// Saves the font on construction and restores it on destruction, also when printing fails.
class SavedFont {
  public:
    explicit SavedFont(PageWriter& writer) : writer_(writer) { writer_.pushFont(); }
    ~SavedFont() { writer_.popFont(); }
    SavedFont(const SavedFont&) = delete;
    SavedFont& operator=(const SavedFont&) = delete;

  private:
    PageWriter& writer_;
};

// Saves the tab stops on construction and restores them on destruction.
class SavedTabs {
  public:
    explicit SavedTabs(PageWriter& writer) : writer_(writer) { writer_.pushTabs(); }
    ~SavedTabs() { writer_.popTabs(); }
    SavedTabs(const SavedTabs&) = delete;
    SavedTabs& operator=(const SavedTabs&) = delete;

  private:
    PageWriter& writer_;
};

} // namespace tarvik
