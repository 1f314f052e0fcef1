#include "app/results_table.h"

#include <algorithm>
#include <cmath>

#include "analysis/analysis_flow.h"
#include "analysis/batch_analysis.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

// Columns in the order a reader expects: what and where, the numbers as the
// batch table orders them, then any others, the dialog values, the text.
const char* const kLeadingColumns[] = {"file",
                                       "analysis",
                                       "branch",
                                       "point",
                                       "first_point",
                                       "last_point",
                                       "points",
                                       "Pmax_mN",
                                       "hmax_nm",
                                       "hf_nm",
                                       "m",
                                       "a",
                                       "r2",
                                       "S_mN_per_nm",
                                       "hc_nm",
                                       "Er_GPa",
                                       "Es_GPa",
                                       "Vs",
                                       "Ei_GPa",
                                       "Vi",
                                       "HM_N_per_mm2",
                                       "HV",
                                       "HRA",
                                       "hold_s",
                                       "loading_rate_mN_per_s",
                                       "displacement_rate_nm_per_s",
                                       "sections",
                                       "section_h_min_nm",
                                       "section_h_max_nm",
                                       "section_E_min_GPa",
                                       "section_E_max_GPa"};
const char* const kSettingColumns[] = {"modulus_solve_for",
                                       "modulus_Es_GPa",
                                       "modulus_Vs",
                                       "modulus_Ei_GPa",
                                       "modulus_Vi",
                                       "modulus_C0",
                                       "modulus_C1",
                                       "modulus_force_min_pct",
                                       "modulus_force_max_pct",
                                       "modulus_Cf_nm_per_mN",
                                       "modulus_epsilon",
                                       "modulus_section_top_pct",
                                       "modulus_section_bottom_pct",
                                       "modulus_section_size_pct",
                                       "modulus_zero_start_depth",
                                       "hardness_formula",
                                       "hardness_C0",
                                       "hardness_C1",
                                       "hardness_D0",
                                       "hardness_D1",
                                       "hardness_Cf_nm_per_mN",
                                       "hardness_epsilon",
                                       "hardness_hold_time_shown"};
constexpr int kUnknownRank = 1000;
constexpr int kSettingRank = 100000;
constexpr int kTextRank = 200000;

std::optional<int> knownRank(const std::string& column) {
    int rank = 0;
    for (const char* name : kLeadingColumns) {
        if (column == name) {
            return rank;
        }
        ++rank;
    }
    rank = kSettingRank;
    for (const char* name : kSettingColumns) {
        if (column == name) {
            return rank;
        }
        ++rank;
    }
    if (column == "text") {
        return kTextRank;
    }
    if (column == "error") {
        return kTextRank + 1;
    }
    return std::nullopt;
}

std::string oneCell(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

}  // namespace

bool ResultsTable::add(ResultRow row) {
    bool changed = false;
    for (const ResultCell& cell : row.cells) {
        if (std::find(m_columns.begin(), m_columns.end(), cell.column) != m_columns.end()) {
            continue;
        }
        const int rank = knownRank(cell.column).value_or(kUnknownRank + m_unknownColumns++);
        const auto at = std::upper_bound(m_ranks.begin(), m_ranks.end(), rank);
        const auto offset = at - m_ranks.begin();
        m_ranks.insert(at, rank);
        m_columns.insert(m_columns.begin() + offset, cell.column);
        changed = true;
    }
    m_rows.push_back(std::move(row));
    return changed;
}

void ResultsTable::clear() {
    m_rows.clear();
    m_columns.clear();
    m_ranks.clear();
    m_unknownColumns = 0;
}

const ResultCell* ResultsTable::cell(std::size_t row, std::size_t column) const {
    if (row >= m_rows.size() || column >= m_columns.size()) {
        return nullptr;
    }
    return m_rows[row].find(m_columns[column]);
}

std::string ResultsTable::displayText(std::size_t row, std::size_t column) const {
    const ResultCell* found = cell(row, column);
    if (found == nullptr) {
        return {};
    }
    if (found->number) {
        return formatC("%.6g", *found->number);
    }
    return found->column == "file" ? fileTitleOf(found->text) : found->text;
}

std::string ResultsTable::exactText(std::size_t row, std::size_t column) const {
    const ResultCell* found = cell(row, column);
    if (found == nullptr) {
        return {};
    }
    return found->number ? formatC("%.9g", *found->number) : found->text;
}

std::optional<double> ResultsTable::number(std::size_t row, std::size_t column) const {
    const ResultCell* found = cell(row, column);
    return found != nullptr ? found->number : std::nullopt;
}

std::string ResultsTable::tabSeparated(const std::vector<std::size_t>& rows) const {
    std::string text;
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        text += (c == 0 ? "" : "\t") + m_columns[c];
    }
    text += '\n';
    const auto line = [&](std::size_t r) {
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            text += (c == 0 ? "" : "\t") + oneCell(exactText(r, c));
        }
        text += '\n';
    };
    if (rows.empty()) {
        for (std::size_t r = 0; r < m_rows.size(); ++r) {
            line(r);
        }
    }
    for (const std::size_t r : rows) {
        if (r < m_rows.size()) {
            line(r);
        }
    }
    return text;
}

std::string ResultsTable::csv() const {
    std::string text;
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        text += (c == 0 ? "" : ",") + csvField(m_columns[c]);
    }
    text += '\n';
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            text += (c == 0 ? "" : ",") + csvField(exactText(r, c));
        }
        text += '\n';
    }
    return text;
}

std::string columnTitle(const std::string& name) {
    // Longest first: "_nm_per_mN" before "_mN".
    static const std::pair<const char*, const char*> kUnits[] = {{"_N_per_mm2", "N/mm\u00b2"},
                                                                 {"_nm_per_mN", "nm/mN"},
                                                                 {"_mN_per_nm", "mN/nm"},
                                                                 {"_mN_per_s", "mN/s"},
                                                                 {"_nm_per_s", "nm/s"},
                                                                 {"_nm2", "nm\u00b2"},
                                                                 {"_GPa", "GPa"},
                                                                 {"_MPa", "MPa"},
                                                                 {"_pct", "%"},
                                                                 {"_pJ", "pJ"},
                                                                 {"_mN", "mN"},
                                                                 {"_nm", "nm"},
                                                                 {"_s", "s"}};
    std::string stem = name;
    std::string unit;
    for (const auto& [suffix, shown] : kUnits) {
        const std::string ending(suffix);
        if (stem.size() > ending.size() &&
            stem.compare(stem.size() - ending.size(), ending.size(), ending) == 0) {
            stem.resize(stem.size() - ending.size());
            unit = shown;
            break;
        }
    }
    std::replace(stem.begin(), stem.end(), '_', ' ');
    return unit.empty() ? stem : stem + " (" + unit + ")";
}

}  // namespace mivaro
