#include "app/all_curves_analysis.h"

#include <new>

#include "analysis/analysis_row.h"
#include "analysis/batch_runner.h"

namespace mivaro {

std::vector<std::string> loadedCurveFiles(const CurveSet& set) {
    std::vector<std::string> files;
    for (const CurveInfo& curve : set.curves) {
        if (!curve.deleted()) {
            files.push_back(curve.path);
        }
    }
    return files;
}

std::size_t analyseAllCurves(const std::vector<std::string>& files, const BatchSettings& settings,
                             unsigned jobs, const std::atomic<bool>& cancel,
                             const std::function<void(ResultRow row, std::size_t done)>& onRow) {
    // Each job fills its own slot; the runner hands them over in order.
    std::vector<ResultRow> rows(files.size());
    const auto work = [&](std::size_t k) {
        if (cancel.load()) {
            return BatchLine{{}, true};
        }
        BatchRow row;
        try {
            row = analyseBatchFile(settings, files[k]);
        } catch (const std::bad_alloc&) {
            row = BatchRow{};
            row.file = files[k];
            row.error = "Not enough memory to analyse the file.";
        } catch (const std::exception& failure) {
            row = BatchRow{};
            row.file = files[k];
            row.error = std::string("The analysis failed: ") + failure.what();
        }
        rows[k] = allCurvesResultRow(row, settings);
        return BatchLine{{}, !row.error.empty()};
    };
    std::size_t handed = 0;
    const auto emit = [&](const BatchLine&) {
        if (!cancel.load() && handed < rows.size()) {
            onRow(std::move(rows[handed]), handed + 1);
            ++handed;
        }
    };
    runBatch(files.size(), jobs, work, emit);
    return handed;
}

}  // namespace mivaro
