#pragma once

// Runs the mivaro-cli executable of this build as a user would, capturing
// what it prints and its exit status.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mivaro::test {

struct RunResult {
    int status = -1;  // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs mivaro-cli with args in directory cwd (empty: this one); extraEnv
// entries are "NAME=value".
inline RunResult runCli(const std::vector<std::string>& args, const std::filesystem::path& cwd = {},
                        const std::vector<std::string>& extraEnv = {}) {
    namespace fs = std::filesystem;
    // Captured output goes to the temp directory, never into cwd (it may be the source tree).
    const std::string stem = "mivaro_cli_capture_" + std::to_string(getpid());
    const fs::path out = fs::temp_directory_path() / (stem + ".out");
    const fs::path err = fs::temp_directory_path() / (stem + ".err");
    const std::string program = std::string(MIVARO_BINARY_DIR) + "/bin/mivaro-cli";
    const pid_t pid = fork();
    if (pid == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) {
            _exit(127);
        }
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(outFd, 1);
        dup2(errFd, 2);
        for (const std::string& entry : extraEnv) {
            putenv(const_cast<char*>(entry.c_str()));
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    RunResult result;
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(out);
    result.err = slurp(err);
    fs::remove(out);
    fs::remove(err);
    return result;
}

}  // namespace mivaro::test
