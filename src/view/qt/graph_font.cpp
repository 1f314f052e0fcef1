#include "view/qt/graph_font.h"

#include <QFontMetrics>
#include <algorithm>
#include <map>
#include <tuple>

namespace mivaro {

namespace {

QFont baseFont(const FontChoice& choice, int pixelSize) {
    QFont font(QString::fromStdString(choice.face));
    font.setPixelSize(pixelSize);
    font.setWeight(choice.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int cellOf(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

}  // namespace

QFont qtFont(const FontChoice& choice) {
    using Key = std::tuple<std::string, int, int>;
    static std::map<Key, int> pixelSizes;  // measuring is slow; fonts repeat
    const int cell = choice.cellHeight < 1 ? 1 : choice.cellHeight;
    const Key key{choice.face, cell, choice.weight};
    auto found = pixelSizes.find(key);
    if (found == pixelSizes.end()) {
        // Cells grow in proportion to the pixel size: start from the
        // proportional guess and correct the rounding by a step or two.
        const int measured = std::max(cellOf(baseFont(choice, cell)), 1);
        int size = std::max(static_cast<int>(static_cast<long long>(cell) * cell / measured), 1);
        while (size > 1 && cellOf(baseFont(choice, size)) > cell) {
            --size;
        }
        while (cellOf(baseFont(choice, size + 1)) <= cell) {
            ++size;
        }
        found = pixelSizes.emplace(key, size).first;
    }
    return baseFont(choice, found->second);
}

}  // namespace mivaro
