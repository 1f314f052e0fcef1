#include "view/recording_surface.h"

#include "view/raster_line.h"

namespace mivaro {

namespace {

RecordingSurface::Record makeRecord(RecordingSurface::Op op, int x = 0, int y = 0) {
    RecordingSurface::Record record;
    record.op = op;
    record.x = x;
    record.y = y;
    return record;
}

}  // namespace

RecordingSurface::RecordingSurface(ClientRect client)
    : m_client(client),
      m_pixels(static_cast<std::size_t>(std::max(client.width(), 0)) *
                   static_cast<std::size_t>(std::max(client.height(), 0)),
               kWhite) {}

void RecordingSurface::moveTo(int x, int y) {
    m_x = x;
    m_y = y;
    m_records.push_back(makeRecord(Op::MoveTo, x, y));
}

void RecordingSurface::setPen(int width, Rgb colour) {
    m_penWidth = width <= 1 ? 1 : width;
    m_penColour = colour;
    Record record = makeRecord(Op::SetPen);
    record.width = width;
    record.colour = colour;
    m_records.push_back(record);
}

void RecordingSurface::lineTo(int x, int y) {
    Record record = makeRecord(Op::LineTo, x, y);
    record.x2 = m_x;
    record.y2 = m_y;
    record.width = m_penWidth;
    record.colour = m_penColour;
    m_records.push_back(record);
    const Rgb colour = m_penColour;
    auto plot = [this, colour](int px, int py) { put(px, py, colour); };
    if (m_penWidth <= 1) {
        rasterThinLine(m_x, m_y, x, y, plot);
    } else {
        rasterWideLine(m_x, m_y, x, y, m_penWidth, plot,
                       [&plot](int px, int py, bool vertical, int lo, int hi) {
                           plotRunAcross(px, py, vertical, lo, hi, plot);
                       });
    }
    m_x = x;
    m_y = y;
}

void RecordingSurface::selectFont(const FontChoice& font) {
    m_font = font;
    Record record = makeRecord(Op::SelectFont);
    record.font = font;
    m_records.push_back(record);
}

void RecordingSurface::drawText(int x, int y, std::string_view text, TextAlign align) {
    Record record = makeRecord(Op::Text, x, y);
    record.text = std::string(text);
    record.align = align;
    record.font = m_font;
    m_records.push_back(record);
}

void RecordingSurface::setPixel(int x, int y, Rgb colour) {
    Record record = makeRecord(Op::Pixel, x, y);
    record.colour = colour;
    m_records.push_back(record);
    put(x, y, colour);
}

void RecordingSurface::setPixelRun(int xFrom, int xTo, int y, Rgb colour) {
    Record record = makeRecord(Op::PixelRun, xFrom, y);
    record.x2 = xTo;
    record.colour = colour;
    m_records.push_back(record);
    for (int x = xFrom; x <= xTo; ++x) {
        put(x, y, colour);
    }
}

std::vector<RecordingSurface::Record> RecordingSurface::recordsOf(Op op) const {
    std::vector<Record> found;
    for (const Record& record : m_records) {
        if (record.op == op) {
            found.push_back(record);
        }
    }
    return found;
}

void RecordingSurface::put(int x, int y, Rgb colour) {
    const int col = x - m_client.left;
    const int row = y - m_client.top;
    if (col < 0 || row < 0 || col >= m_client.width() || row >= m_client.height()) {
        return;
    }
    m_pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_client.width()) +
             static_cast<std::size_t>(col)] = colour;
}

Rgb RecordingSurface::pixel(int x, int y) const {
    const int col = x - m_client.left;
    const int row = y - m_client.top;
    if (col < 0 || row < 0 || col >= m_client.width() || row >= m_client.height()) {
        return kWhite;
    }
    return m_pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_client.width()) +
                    static_cast<std::size_t>(col)];
}

std::vector<std::pair<int, int>> RecordingSurface::paintedPixels() const {
    std::vector<std::pair<int, int>> found;
    const int width = m_client.width();
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        if (m_pixels[i] != kWhite) {
            found.emplace_back(m_client.left + static_cast<int>(i % static_cast<std::size_t>(width)),
                               m_client.top + static_cast<int>(i / static_cast<std::size_t>(width)));
        }
    }
    return found;
}

void RecordingSurface::clearPixels() {
    std::fill(m_pixels.begin(), m_pixels.end(), kWhite);
}

}  // namespace mivaro
