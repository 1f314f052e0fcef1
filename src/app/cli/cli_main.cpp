// mivaro-cli: the program's logic without a window, for batch work and checks.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "platform/safe_file_write.h"

namespace {

void printUsage() {
    std::fputs(
        "usage: mivaro-cli points [--settings DIR] FILE...\n"
        "       mivaro-cli analyse [--settings DIR] (--point N | --click X,Y [--size WxH]) --action ACTION\n"
        "                          [--label TEXT] [--graph-out FILE [--graph-size WxH]] FILE...\n"
        "       mivaro-cli render [--settings DIR] [--size WxH] [--style line|circle|circle-solid|square|"
        "square-solid]\n"
        "                         [--marker-size N] [--out FILE.png|FILE.svg|FILE.pdf] FILE...\n"
        "       mivaro-cli batch [--settings DIR] [--jobs N] [--out FILE.csv] [--solve es|vs|ei|vi] "
        "[--recognise] FILE...\n"
        "       mivaro-cli convert [--recognise] [--settings DIR] FILE...\n"
        "       mivaro-cli guess [--settings DIR] FILE\n"
        "       mivaro-cli save-as --name PATH [--settings DIR] FILE...\n"
        "       mivaro-cli recognise FILE...\n",
        stderr);
}

int run(const std::string& command, const std::vector<std::string>& args) {
    if (command == "points") {
        return mivaro::cli::runPoints(args);
    }
    if (command == "analyse") {
        return mivaro::cli::runAnalyse(args);
    }
    if (command == "render") {
        return mivaro::cli::runRender(args);
    }
    if (command == "batch") {
        return mivaro::cli::runBatchCommand(args);
    }
    if (command == "convert") {
        return mivaro::cli::runConvert(args);
    }
    if (command == "guess") {
        return mivaro::cli::runGuess(args);
    }
    if (command == "recognise") {
        return mivaro::cli::runRecognise(args);
    }
    if (command == "save-as") {
        return mivaro::cli::runSaveAs(args);
    }
    std::fprintf(stderr, "mivaro-cli: unknown command %s\n", command.c_str());
    printUsage();
    return mivaro::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return mivaro::cli::kExitUsage;
    }
    // An interrupted `batch --out` must not leave its temporary table behind.
    mivaro::removeTemporaryFilesOnSignals();
    const std::string command = argv[1];
    try {
        return run(command, std::vector<std::string>(argv + 2, argv + argc));
    } catch (const std::bad_alloc&) {
        std::fprintf(
            stderr,
            "mivaro-cli %s: Not enough memory to finish; any file being written was left as it was.\n",
            command.c_str());
        return mivaro::cli::kExitMessage;
    }
}
