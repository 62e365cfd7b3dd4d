#pragma once
// A page writer that renders nothing and logs every device primitive as one line of text, for tests
// and for golden files of recorded pages. Texts are measured as fixed-width characters of half the
// font height.
//
// Log lines (mm with two decimals, Y downward, colours as #RRGGBB):
//   page N                                   a page begins
//   text X BASELINE "TEXT" h=H [bold] [underline] [#RRGGBB]
//   line X1 Y1 X2 Y2 px=N [#RRGGBB]
//   fill LEFT TOP RIGHT BOTTOM #RRGGBB
//   picture NAME LEFT TOP RIGHT BOTTOM

#include "core/report/page_writer.h"

#include <map>
#include <string>
#include <vector>

namespace tarvik {

class RecordingPageWriter : public PageWriter {
  public:
    // A4 portrait unless told otherwise.
    explicit RecordingPageWriter(double pageWidth = 210, double pageHeight = 297);

    const std::vector<std::string>& log() const { return log_; }
    void setPictureSize(const std::string& picture, PictureSize size) { pictures_[picture] = size; }

    double textWidth(std::string_view text) const override;
    std::optional<PictureSize> pictureSize(const std::string& picture) const override;

  protected:
    double dotsPerInch() const override { return 600; }
    void beginPage() override;
    void endPage() override {}
    void drawText(double x, double baseline, std::string_view text) override;
    void drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) override;
    void fillRect(const Rect& rect, Colour colour) override;
    void renderPicture(const std::string& picture, const Rect& rect) override;

  private:
    std::vector<std::string> log_;
    std::map<std::string, PictureSize> pictures_;
    int pages_ = 0;
};

} // namespace tarvik
