#include "analysis/result_row.h"

namespace mivaro {

const ResultCell* ResultRow::find(const std::string& column) const {
    for (const ResultCell& cell : cells) {
        if (cell.column == column) {
            return &cell;
        }
    }
    return nullptr;
}

void ResultRow::setNumber(const std::string& column, double value) {
    for (ResultCell& cell : cells) {
        if (cell.column == column) {
            cell.number = value;
            cell.text.clear();
            return;
        }
    }
    cells.push_back({column, value, {}});
}

void ResultRow::setText(const std::string& column, const std::string& value) {
    for (ResultCell& cell : cells) {
        if (cell.column == column) {
            cell.number.reset();
            cell.text = value;
            return;
        }
    }
    cells.push_back({column, std::nullopt, value});
}

}  // namespace mivaro
