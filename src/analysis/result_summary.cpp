#include "analysis/result_summary.h"

#include <algorithm>
#include <cmath>

#include "platform/c_format.h"

namespace mivaro {
namespace {

// The scaled MAD's factor: it estimates the standard deviation of normal data.
constexpr double kMadToSd = 1.4826;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

bool complete(const ResultRow& row) {
    const ResultCell* error = row.find("error");
    return error == nullptr || (!error->number && error->text.empty());
}

std::string textOf(const ResultRow& row, const char* column) {
    const ResultCell* cell = row.find(column);
    return cell == nullptr ? std::string() : cell->text;
}

std::string number(double value) {
    return std::isfinite(value) ? formatC("%.9g", value) : std::string();
}

}  // namespace

std::string resultSummaryCsv(const std::vector<ResultRow>& rows) {
    std::vector<const ResultRow*> used;
    for (const ResultRow& row : rows) {
        if (complete(row)) {
            used.push_back(&row);
        }
    }
    // Numeric columns in the order of the first row that has them.
    std::vector<std::string> columns;
    for (const ResultRow* row : used) {
        for (const ResultCell& cell : row->cells) {
            if (cell.number && std::find(columns.begin(), columns.end(), cell.column) == columns.end()) {
                columns.push_back(cell.column);
            }
        }
    }
    std::string text = "column,n,mean,sd,cv_pct,median,mad,min,max\n";
    const auto valuesOf = [&](const std::string& column) {
        std::vector<double> values;
        for (const ResultRow* row : used) {
            const ResultCell* cell = row->find(column);
            if (cell != nullptr && cell->number && std::isfinite(*cell->number)) {
                values.push_back(*cell->number);
            }
        }
        return values;
    };
    for (const std::string& column : columns) {
        const std::vector<double> values = valuesOf(column);
        const std::size_t n = values.size();
        text += csvField(column) + formatC(",%zu", n);
        if (n == 0) {
            text += ",,,,,,,\n";
            continue;
        }
        double sum = 0;
        for (const double v : values) {
            sum += v;
        }
        const double mean = sum / static_cast<double>(n);
        double squares = 0;
        for (const double v : values) {
            squares += (v - mean) * (v - mean);
        }
        const double sd = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : std::nan("");
        const double mid = median(values);
        std::vector<double> deviations;
        for (const double v : values) {
            deviations.push_back(std::fabs(v - mid));
        }
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        text += "," + number(mean) + "," + number(sd) + "," +
                number(mean != 0 ? sd / std::fabs(mean) * 100 : NAN) + "," + number(mid) + "," +
                number(median(deviations)) + "," + number(*lo) + "," + number(*hi) + "\n";
    }

    text += "\noutliers,file,indent,value,median,scaled_mads\n";
    const bool iso = std::find(columns.begin(), columns.end(), "iso_Er_GPa") != columns.end();
    const std::vector<std::string> watched =
        iso ? std::vector<std::string>{"iso_Er_GPa", "iso_HIT_MPa"} : std::vector<std::string>{"Er_GPa"};
    for (const std::string& column : watched) {
        const std::vector<double> values = valuesOf(column);
        if (values.size() < kOutlierMinimumRows) {
            continue;
        }
        const double mid = median(values);
        std::vector<double> deviations;
        for (const double v : values) {
            deviations.push_back(std::fabs(v - mid));
        }
        const double scale = kMadToSd * median(deviations);
        for (const ResultRow* row : used) {
            const ResultCell* cell = row->find(column);
            if (cell == nullptr || !cell->number || !std::isfinite(*cell->number)) {
                continue;
            }
            const double distance = std::fabs(*cell->number - mid);
            // With a zero MAD every value off the median stands out.
            const double mads = scale > 0 ? distance / scale : (distance > 0 ? INFINITY : 0);
            if (mads > kOutlierScaledMads) {
                text += csvField(column) + "," + csvField(textOf(*row, "file")) + "," +
                        csvField(textOf(*row, "indent")) + "," + number(*cell->number) + "," + number(mid) +
                        "," + (std::isfinite(mads) ? number(mads) : std::string("inf")) + "\n";
            }
        }
    }
    return text;
}

}  // namespace mivaro
