#include "analysis/result_row.h"

#include "analysis/analysis_json.h"
#include "platform/c_format.h"

#ifndef MIVARO_PROGRAM_VERSION
#define MIVARO_PROGRAM_VERSION "unknown"
#endif

namespace mivaro {
namespace {

ResultCell* findCell(std::vector<ResultCell>& cells, const std::string& column) {
    for (ResultCell& cell : cells) {
        if (cell.column == column) {
            return &cell;
        }
    }
    return nullptr;
}

void setOptional(ResultRow& row, const std::string& column, const std::optional<double>& value) {
    if (value) {
        row.setNumber(column, *value);
    } else {
        row.setEmpty(column);
    }
}

}  // namespace

const ResultCell* ResultRow::find(const std::string& column) const {
    for (const ResultCell& cell : cells) {
        if (cell.column == column) {
            return &cell;
        }
    }
    return nullptr;
}

void ResultRow::setNumber(const std::string& column, double value) {
    if (ResultCell* cell = findCell(cells, column)) {
        cell->number = value;
        cell->text.clear();
        return;
    }
    cells.push_back({column, value, {}});
}

void ResultRow::setText(const std::string& column, const std::string& value) {
    if (ResultCell* cell = findCell(cells, column)) {
        cell->number.reset();
        cell->text = value;
        return;
    }
    cells.push_back({column, std::nullopt, value});
}

void ResultRow::setEmpty(const std::string& column) {
    setText(column, {});
}

const char* programVersion() {
    return MIVARO_PROGRAM_VERSION;
}

void appendIsoCells(ResultRow& row, const IsoResults* results) {
    const IsoResults* r = results != nullptr && results->error.empty() ? results : nullptr;
    const auto number = [&](const char* name, double IsoResults::*field) {
        setOptional(row, std::string("iso_") + name,
                    r != nullptr ? std::optional<double>(r->*field) : std::nullopt);
    };
    const auto optional = [&](const char* name, std::optional<double> IsoResults::*field) {
        setOptional(row, std::string("iso_") + name, r != nullptr ? r->*field : std::nullopt);
    };
    number("Fmax_mN", &IsoResults::Fmax_mN);
    number("hmax_nm", &IsoResults::hmax_nm);
    number("S_mN_per_nm", &IsoResults::S_mN_per_nm);
    number("hr_nm", &IsoResults::hr_nm);
    number("hc_nm", &IsoResults::hc_nm);
    number("hf_nm", &IsoResults::hf_nm);
    number("m", &IsoResults::m);
    number("a", &IsoResults::a);
    number("r2", &IsoResults::r2);
    setOptional(row, "iso_points_in_fit",
                r != nullptr ? std::optional<double>(r->points_in_fit) : std::nullopt);
    number("Ap_nm2", &IsoResults::Ap_nm2);
    number("Er_GPa", &IsoResults::Er_GPa);
    number("EIT_GPa", &IsoResults::EIT_GPa);
    number("HIT_MPa", &IsoResults::HIT_MPa);
    number("HM_MPa", &IsoResults::HM_MPa);
    optional("HMs_MPa", &IsoResults::HMs_MPa);
    optional("CIT_pct", &IsoResults::CIT_pct);
    optional("hold_s", &IsoResults::hold_s);
    number("Wtotal_pJ", &IsoResults::Wtotal_pJ);
    number("Welast_pJ", &IsoResults::Welast_pJ);
    number("Wplast_pJ", &IsoResults::Wplast_pJ);
    number("etaIT_pct", &IsoResults::etaIT_pct);
}

void appendIsoProvenance(ResultRow& row, const IsoSetup& setup, const IsoResults* results) {
    const bool computed = results != nullptr && results->error.empty();
    row.setText("iso_fit", isoFitName(setup.fit));
    row.setNumber("iso_window_lo_pct", setup.windowLoPct);
    row.setNumber("iso_window_hi_pct", setup.windowHiPct);
    if (!setup.epsilonFromExponent) {
        row.setNumber("iso_epsilon", setup.epsilon);
    } else if (computed) {
        row.setNumber("iso_epsilon", results->epsilonUsed);
    } else {
        row.setText("iso_epsilon", "m");
    }
    row.setNumber("iso_beta", setup.beta);
    row.setNumber("iso_nu_s", setup.nuS);
    row.setNumber("iso_nu_i", setup.nuI);
    row.setNumber("iso_Ei_GPa", setup.eiGPa);
    for (int k = 0; k < 6; ++k) {
        row.setNumber(formatC("iso_C%d", k), setup.area[static_cast<std::size_t>(k)]);
    }
    row.setNumber("iso_Cf_nm_per_mN", setup.frameComplianceNmPerMn);
    setOptional(row, "iso_zero_point_nm",
                !setup.zeroPoint ? std::optional<double>(0.0)
                : computed       ? std::optional<double>(results->zeroPointNm)
                                 : std::nullopt);
    const bool measured = setup.drift == IsoDrift::Hold;
    setOptional(row, "iso_drift_nm_per_s",
                computed   ? std::optional<double>(results->driftNmPerS)
                : measured ? std::nullopt
                : setup.drift == IsoDrift::Off || setup.driftAppliedByInstrument
                    ? std::optional<double>(0.0)
                    : std::optional(setup.driftNmPerS));
    std::string source = isoDriftSourceName(setup);
    if (setup.driftAppliedByInstrument && setup.driftNmPerS != 0) {
        source += formatC(" (%.9g nm/s)", setup.driftNmPerS);
    }
    row.setText("iso_drift_source", source);
    row.setText("program_version", programVersion());
}

void appendInstrumentCells(ResultRow& row, const recognise::KnownMetadata* known) {
    for (const char* name : recognise::kInstrumentResultNames) {
        std::optional<double> value;
        if (known != nullptr) {
            for (const auto& [printed, number] : known->instrumentResults) {
                if (printed == name) {
                    value = number;
                }
            }
        }
        setOptional(row, std::string("instrument_") + name, value);
    }
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvHeaderLine(const ResultRow& row) {
    std::string line;
    for (std::size_t k = 0; k < row.cells.size(); ++k) {
        line += k == 0 ? "" : ",";
        line += csvField(row.cells[k].column);
    }
    return line + '\n';
}

std::string csvRowLine(const ResultRow& row) {
    std::string line;
    for (std::size_t k = 0; k < row.cells.size(); ++k) {
        const ResultCell& cell = row.cells[k];
        line += k == 0 ? "" : ",";
        line += cell.number ? formatC("%.9g", *cell.number) : csvField(cell.text);
    }
    return line + '\n';
}

std::string resultCellsJson(const ResultRow& row, const std::string& prefix) {
    std::string json = "{";
    for (const ResultCell& cell : row.cells) {
        const bool prefixed = cell.column.compare(0, prefix.size(), prefix) == 0;
        json += json.size() > 1 ? ", " : "";
        json += jsonString(prefixed ? cell.column.substr(prefix.size()) : cell.column);
        json += ": ";
        json += cell.number         ? jsonNumber(*cell.number, 17)
                : cell.text.empty() ? "null"
                                    : jsonString(cell.text);
    }
    return json + "}";
}

}  // namespace mivaro
