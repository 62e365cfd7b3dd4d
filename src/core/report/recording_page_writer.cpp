#include "core/report/recording_page_writer.h"

#include <cstdio>

namespace tarvik {

namespace {

constexpr double kCharacterWidth = 0.5; // of the font height

std::string Mm(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string Hex(Colour colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", colour & 0xFFu, (colour >> 8) & 0xFFu,
                  (colour >> 16) & 0xFFu);
    return buffer;
}

std::string Corners(const Rect& r) {
    return Mm(r.left) + " " + Mm(r.top) + " " + Mm(r.right) + " " + Mm(r.bottom);
}

} // namespace

RecordingPageWriter::RecordingPageWriter(double pageWidth, double pageHeight)
    : PageWriter(pageWidth, pageHeight) {}

double RecordingPageWriter::textWidth(std::string_view text) const {
    return static_cast<double>(text.size()) * kCharacterWidth * font().height;
}

std::optional<PictureSize> RecordingPageWriter::pictureSize(const std::string& picture) const {
    const auto found = pictures_.find(picture);
    if (found == pictures_.end())
        return std::nullopt;
    return found->second;
}

void RecordingPageWriter::beginPage() {
    log_.push_back("page " + std::to_string(++pages_));
}

void RecordingPageWriter::drawText(double x, double baseline, std::string_view text) {
    const Font& f = font();
    std::string entry =
        "text " + Mm(x) + " " + Mm(baseline) + " \"" + std::string(text) + "\" h=" + Mm(f.height);
    if (f.bold)
        entry += " bold";
    if (f.underline)
        entry += " underline";
    if (f.colour != kBlack)
        entry += " " + Hex(f.colour);
    log_.push_back(std::move(entry));
}

void RecordingPageWriter::drawLine(double x1, double y1, double x2, double y2, Colour colour, int pixels) {
    std::string entry =
        "line " + Mm(x1) + " " + Mm(y1) + " " + Mm(x2) + " " + Mm(y2) + " px=" + std::to_string(pixels);
    if (colour != kBlack)
        entry += " " + Hex(colour);
    log_.push_back(std::move(entry));
}

void RecordingPageWriter::fillRect(const Rect& rect, Colour colour) {
    log_.push_back("fill " + Corners(rect) + " " + Hex(colour));
}

void RecordingPageWriter::renderPicture(const std::string& picture, const Rect& rect) {
    log_.push_back("picture " + picture + " " + Corners(rect));
}

} // namespace tarvik
