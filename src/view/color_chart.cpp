#include "view/color_chart.h"

namespace mivaro {

namespace {

constexpr Rgb kSwatches[kColorChartRows][kColorChartColumns] = {
    {makeRgb(0, 0, 0), makeRgb(160, 64, 0), makeRgb(64, 64, 0), makeRgb(0, 64, 0), makeRgb(0, 64, 128),
     makeRgb(0, 0, 128), makeRgb(64, 64, 128), makeRgb(64, 64, 64)},
    {makeRgb(128, 0, 0), makeRgb(224, 96, 0), makeRgb(128, 128, 0), makeRgb(0, 128, 0), makeRgb(0, 128, 128),
     makeRgb(0, 0, 255), makeRgb(96, 96, 128), makeRgb(128, 128, 128)},
    {makeRgb(255, 0, 0), makeRgb(224, 160, 0), makeRgb(160, 192, 0), makeRgb(64, 160, 128),
     makeRgb(64, 192, 192), makeRgb(64, 96, 192), makeRgb(128, 0, 128), makeRgb(160, 160, 164)},
    {makeRgb(255, 0, 255), makeRgb(224, 192, 0), makeRgb(255, 255, 0), makeRgb(0, 255, 0),
     makeRgb(0, 255, 255), makeRgb(0, 255, 255), makeRgb(160, 64, 128), makeRgb(192, 192, 192)},
    {makeRgb(224, 160, 192), makeRgb(224, 192, 128), makeRgb(224, 224, 128), makeRgb(192, 220, 192),
     makeRgb(192, 192, 192), makeRgb(166, 202, 240), makeRgb(166, 202, 240), makeRgb(255, 255, 255)},
};

// Frames start at 4 + 18 column, 3 + 18 row and are 12 pixels wide.
constexpr int kFrameLeft = 4;
constexpr int kFrameTop = 3;
constexpr int kPitch = 18;
constexpr int kFrameSide = 12;

}  // namespace

Rgb colorChartSwatch(int row, int column) {
    if (row < 0 || row >= kColorChartRows || column < 0 || column >= kColorChartColumns) {
        return kColorChartBackground;
    }
    return kSwatches[row][column];
}

Rgb colorChartPixel(int x, int y) {
    const int dx = x - kFrameLeft;
    const int dy = y - kFrameTop;
    if (dx < 0 || dy < 0) {
        return kColorChartBackground;
    }
    const int column = dx / kPitch;
    const int row = dy / kPitch;
    const int inX = dx % kPitch;
    const int inY = dy % kPitch;
    if (column >= kColorChartColumns || row >= kColorChartRows || inX >= kFrameSide || inY >= kFrameSide) {
        return kColorChartBackground;
    }
    const bool frame = inX == 0 || inY == 0 || inX == kFrameSide - 1 || inY == kFrameSide - 1;
    return frame ? kColorChartFrame : kSwatches[row][column];
}

}  // namespace mivaro
