// mivaro-cli batch: the modulus (and hardness) of many curve files in one CSV
// table, each file read and analysed alone as a click on its main unloading
// run would, spread over several threads. Nothing is written to the settings.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <new>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/batch_analysis.h"
#include "analysis/batch_runner.h"
#include "analysis/result_summary.h"
#include "app/cli/cli_common.h"
#include "curves/recognise/recognised_conversion.h"
#include "curves/recognise/recogniser.h"
#include "platform/c_format.h"
#include "platform/safe_file_write.h"

namespace mivaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: mivaro-cli batch [--settings DIR] [--jobs N] [--out FILE.csv] [--solve es|vs|ei|vi]\n"
    "                        [--recognise] [--summary FILE.csv] [--iso [ISO OPTIONS]] FILE...\n"
    "  ISO OPTIONS: --fit document|lsq  --window LO-HI  --epsilon E|m  --beta B  --nu-s V|file\n"
    "               --nu-i V  --Ei GPA  --area C0,C1[,C2,C3,C4,C5]|file  --frame-compliance CF|file\n"
    "               --zero-point [LO-HI]  --drift RATE|hold|file\n"
    "  file (with --recognise): the value the instrument file gives for each indent\n";
constexpr int kMaxJobs = 1024;

int batchUsageError(const std::string& why) {
    return usageError("batch", why, kUsage);
}

// "412/1000 files, 3 with errors", rewritten in place on a terminal at most
// ten times a second and once more for the last file.
class TerminalProgress final : public BatchProgressSink {
  public:
    void filesDone(std::size_t done, std::size_t total, std::size_t withErrors) override {
        const auto now = std::chrono::steady_clock::now();
        if (done < total && now - m_shown < std::chrono::milliseconds(100)) {
            return;
        }
        m_shown = now;
        std::fprintf(stderr, "\r%zu/%zu files, %zu with errors%s", done, total, withErrors,
                     done == total ? "\n" : "");
        std::fflush(stderr);
    }

  private:
    std::chrono::steady_clock::time_point m_shown{};
};

int solveForOf(const std::string& text) {
    static const char* const kNames[] = {"es", "vs", "ei", "vi"};
    for (int k = 0; k < 4; ++k) {
        if (text == kNames[k]) {
            return k;
        }
    }
    return -1;
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

// One row per indent, in file order, the indent's points analysed as its
// standard curve file would be; a file no format claims is read as today
// (it has no metadata for values asked for as "file").
std::vector<BatchRow> analyseRecognised(const BatchSettings& settings, const std::string& path) {
    std::vector<BatchRow> rows;
    const recognise::RecogniseSummary summary =
        recognise::recogniseFile(path, [&](recognise::RecognisedIndent& indent) {
            rows.push_back(analyseRecognisedIndent(settings, path, indent));
            return true;
        });
    if (!summary.recognised) {
        const recognise::KnownMetadata nothingKnown;
        return {analyseBatchFile(settings, path, &nothingKnown)};
    }
    if (rows.size() == 1 && summary.error.empty()) {
        rows.front().indent.clear();
    }
    if (!summary.error.empty()) {
        BatchRow failed;
        failed.file = path;
        failed.error = oneLine(summary.error);
        rows.push_back(std::move(failed));
    }
    return rows;
}

// kept, when given, receives the rows' cells (for the summary).
BatchLine analyseToLine(const BatchSettings& settings, const std::string& path, bool recognising,
                        std::vector<ResultRow>* kept) {
    std::vector<BatchRow> rows;
    try {
        rows = recognising ? analyseRecognised(settings, path)
                           : std::vector<BatchRow>{analyseBatchFile(settings, path)};
    } catch (const std::bad_alloc&) {
        rows.assign(1, BatchRow{});
        rows.front().file = path;
        rows.front().error = "Not enough memory to analyse the file.";
    } catch (const std::exception& failure) {
        rows.assign(1, BatchRow{});
        rows.front().file = path;
        rows.front().error = std::string("The analysis failed: ") + failure.what();
    }
    BatchLine line;
    for (const BatchRow& row : rows) {
        ResultRow cells = batchResultRow(row, settings, recognising);
        line.text += csvRowLine(cells);
        line.error = line.error || !row.error.empty();
        if (kept != nullptr) {
            kept->push_back(std::move(cells));
        }
    }
    return line;
}

}  // namespace

int runBatchCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    IsoOptions isoOptions;
    if (const std::string why = takeIsoOptions(args, isoOptions); !why.empty()) {
        return batchUsageError(why);
    }
    CommandLine line;
    if (const std::string why = parseCommandLine(
            args, {"--settings", "--jobs", "--out", "--solve", "--summary"}, line, {"--recognise"});
        !why.empty()) {
        return batchUsageError(why);
    }
    if (line.has("--summary") && line.has("--out") &&
        std::filesystem::weakly_canonical(line.value("--summary")) ==
            std::filesystem::weakly_canonical(line.value("--out"))) {
        return batchUsageError("--summary and --out name the same file");
    }
    const std::string directory = line.value("--settings", ".");
    int solveFor = -1;
    if (line.has("--solve")) {
        solveFor = solveForOf(line.value("--solve"));
        if (solveFor < 0) {
            return batchUsageError("--solve takes es, vs, ei or vi, not " + line.value("--solve"));
        }
    }
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (line.has("--jobs")) {
        const std::string text = line.value("--jobs");
        int parsed = 0;
        std::size_t consumed = 0;
        if (!scanCInt(text, parsed, &consumed) || consumed != text.size() || parsed < 1 ||
            parsed > kMaxJobs) {
            return batchUsageError(
                formatC("--jobs needs a number of jobs from 1 to %d, not %s", kMaxJobs, text.c_str()));
        }
        jobs = static_cast<unsigned>(parsed);
    }
    BatchSettings settings = readBatchSettings(asSettingsDirectory(directory), solveFor);
    if (isoOptions.iso) {
        IsoSetup iso;
        if (const std::string why = isoSetupOf(isoOptions, settings.modulus, iso, line.has("--recognise"));
            !why.empty()) {
            return batchUsageError(why);
        }
        settings.iso = iso;
    }
    if (settings.modulus.solveFor < 0 || settings.modulus.solveFor > 3) {
        return batchUsageError(std::string(kModulusSettingsFile) + " of " + directory +
                               " chooses no quantity to solve for; give --solve es, vs, ei or vi");
    }

    TerminalProgress terminal;
    // Not while the table itself goes to the same terminal: the line would overwrite its rows.
    const bool showProgress = isatty(STDERR_FILENO) && (line.has("--out") || !isatty(STDOUT_FILENO));
    BatchProgressSink* progress = showProgress ? &terminal : nullptr;
    const std::vector<std::string>& files = line.files;
    const bool recognising = line.has("--recognise");
    // Each job fills its own rows: the summary needs them all once the table is written.
    std::vector<std::vector<ResultRow>> rows(line.has("--summary") ? files.size() : 0);
    const auto work = [&](std::size_t k) {
        return analyseToLine(settings, files[k], recognising, rows.empty() ? nullptr : &rows[k]);
    };
    const std::string header = csvHeaderLine(batchResultRow(BatchRow{}, settings, recognising));
    BatchTally tally;
    if (line.has("--out")) {
        std::string error;
        const bool saved = saveFileSafely(
            line.value("--out"),
            [&](std::ostream& out) {
                out << header;
                tally = runBatch(
                    files.size(), jobs, work, [&](const BatchLine& l) { out << l.text; }, progress);
            },
            error);
        if (!saved) {
            std::fprintf(stderr, "mivaro-cli batch: %s\n", error.c_str());
            return kExitMessage;
        }
    } else {
        writeOut(header);
        tally = runBatch(
            files.size(), jobs, work, [](const BatchLine& l) { writeOut(l.text); }, progress);
        if (!outputWritten("batch", "the table")) {
            return kExitMessage;
        }
    }
    if (line.has("--summary")) {
        std::string error;
        std::vector<ResultRow> all;
        for (std::vector<ResultRow>& fileRows : rows) {
            std::move(fileRows.begin(), fileRows.end(), std::back_inserter(all));
        }
        const std::string summary = resultSummaryCsv(all);
        if (!saveFileSafely(
                line.value("--summary"), [&](std::ostream& out) { out << summary; }, error)) {
            std::fprintf(stderr, "mivaro-cli batch: %s\n", error.c_str());
            return kExitMessage;
        }
    }
    return tally.withErrors > 0 ? kExitMessage : kExitOk;
}

}  // namespace mivaro::cli
