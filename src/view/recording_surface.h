#pragma once

#include <string>
#include <vector>

#include "view/drawing_surface.h"

namespace mivaro {

// A drawing surface in memory: records every call and rasterises lines and
// pixels into a pixel grid with the same line rules as the window, so tests
// can check operations and exact pixels. Text is recorded, not rasterised.
class RecordingSurface final : public DrawingSurface {
  public:
    static constexpr Rgb kWhite = 0xFFFFFFu;

    enum class Op { MoveTo, SetPen, LineTo, SelectFont, Text, Pixel, PixelRun };
    struct Record {
        Op op = Op::MoveTo;
        int x = 0;
        int y = 0;
        int x2 = 0;        // LineTo: start x; PixelRun: last x
        int y2 = 0;        // LineTo: start y
        int width = 0;     // SetPen, LineTo: pen width
        Rgb colour = 0;    // SetPen, LineTo, Pixel, PixelRun
        std::string text;  // Text
        TextAlign align = TextAlign::Left;
        FontChoice font;  // SelectFont, Text: the font in use
    };

    explicit RecordingSurface(ClientRect client);
    RecordingSurface(int width, int height) : RecordingSurface(ClientRect{0, 0, width, height}) {}

    ClientRect clientRect() const override { return m_client; }
    void moveTo(int x, int y) override;
    void setPen(int width, Rgb colour) override;
    void lineTo(int x, int y) override;
    void selectFont(const FontChoice& font) override;
    void drawText(int x, int y, std::string_view text, TextAlign align) override;
    void setPixel(int x, int y, Rgb colour) override;
    void setPixelRun(int xFrom, int xTo, int y, Rgb colour) override;

    const std::vector<Record>& records() const { return m_records; }
    std::vector<Record> recordsOf(Op op) const;
    void clearRecords() { m_records.clear(); }

    // The pixel grid covers the client rectangle; pixels outside are dropped.
    Rgb pixel(int x, int y) const;
    // Client coordinates of every pixel that is not white, row by row.
    std::vector<std::pair<int, int>> paintedPixels() const;
    void clearPixels();

  private:
    void put(int x, int y, Rgb colour);

    ClientRect m_client;
    std::vector<Rgb> m_pixels;
    std::vector<Record> m_records;
    int m_x = 0;
    int m_y = 0;
    int m_penWidth = 1;
    Rgb m_penColour = 0;
    FontChoice m_font;
};

}  // namespace mivaro
