// mivaro-cli with outputs that are links, pipes or devices, inputs that are
// pipes or FIFOs, too little memory, and signals in the middle of a batch.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "curves/curve_test_support.h"
#include "support/run_cli.h"

namespace {

namespace fs = std::filesystem;
using mivaro::test::slurp;

const fs::path kExample = fs::path(MIVARO_SOURCE_DIR) / "examples" / "fused_silica_labelled.MVR";

struct Outcome {
    int status = -1;  // exit status, or -1 when ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

// How the child's standard streams and limits are set up.
struct Child {
    int stdinFd = -1;         // -1: /dev/null
    std::string stdoutPath;   // empty: captured
    int stdoutFd = -1;        // a descriptor to use as standard output instead
    rlim_t addressSpace = 0;  // 0: no limit
    std::vector<std::string> unset;
    std::function<void(pid_t)> whileRunning;
};

std::string readAll(int fd) {
    std::string text;
    char block[4096];
    for (ssize_t got; (got = read(fd, block, sizeof block)) > 0;) {
        text.append(block, static_cast<std::size_t>(got));
    }
    return text;
}

class CliHardening : public ::testing::Test {
  protected:
    CliHardening() {
        m_dir = fs::temp_directory_path() / ("mivaro_hardening_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::copy_file(kExample, m_dir / "a.MVR");
    }
    ~CliHardening() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string fifo(const std::string& name) const {
        EXPECT_EQ(mkfifo(path(name).c_str(), 0600), 0);
        return path(name);
    }

    Outcome run(const std::vector<std::string>& args, const Child& setup = {}) const {
        const std::string program = std::string(MIVARO_BINARY_DIR) + "/bin/mivaro-cli";
        const std::string outFile = path("captured.out");
        const std::string errFile = path("captured.err");
        const pid_t pid = fork();
        if (pid == 0) {
            chdir(m_dir.c_str());
            const int in = setup.stdinFd >= 0 ? setup.stdinFd : open("/dev/null", O_RDONLY);
            const int out = setup.stdoutFd >= 0
                                ? setup.stdoutFd
                                : open(setup.stdoutPath.empty() ? outFile.c_str() : setup.stdoutPath.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(in, 0);
            dup2(out, 1);
            dup2(err, 2);
            closefrom(3);  // no stray pipe ends: a held write end would keep standard input open
            for (const std::string& name : setup.unset) {
                unsetenv(name.c_str());
            }
            if (setup.addressSpace != 0) {
                const rlimit limit{setup.addressSpace, setup.addressSpace};
                setrlimit(RLIMIT_AS, &limit);
            }
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& arg : args) {
                argv.push_back(const_cast<char*>(arg.c_str()));
            }
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        if (setup.whileRunning) {
            setup.whileRunning(pid);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        Outcome result;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        result.out = setup.stdoutPath.empty() && setup.stdoutFd < 0 ? slurp(outFile) : "";
        result.err = slurp(errFile);
        fs::remove(outFile);
        fs::remove(errFile);
        return result;
    }

    fs::path m_dir;
};

TEST_F(CliHardening, OutputsThatAreLinksPipesAndDevices) {
    const Outcome expected = run({"batch", "a.MVR"});
    ASSERT_EQ(expected.status, 0) << expected.err;

    // A link to a FIFO that a reader holds open: the table goes through it, link and FIFO stay.
    const std::string pipeName = fifo("fifo");
    fs::create_symlink(pipeName, path("link.csv"));
    const int reader = open(pipeName.c_str(), O_RDONLY | O_NONBLOCK);
    const Outcome linked = run({"batch", "--out", "link.csv", "a.MVR"});
    fcntl(reader, F_SETFL, 0);
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_EQ(readAll(reader), expected.out);
    close(reader);
    EXPECT_TRUE(fs::is_symlink(path("link.csv")));
    EXPECT_TRUE(fs::is_fifo(pipeName));

    // A descriptor's name (as /dev/stdout is) on a pipe: the table arrives on the pipe. Never
    // /dev/stdout itself here: a faulty writer would replace it for the whole system.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    Child toPipe;
    toPipe.stdoutFd = ends[1];
    const Outcome table = run({"batch", "--out", "/dev/fd/1", "a.MVR"}, toPipe);
    close(ends[1]);
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(readAll(ends[0]), expected.out);
    close(ends[0]);

    struct Refused {
        std::string out;
        std::string why;
    };
    fifo("unread");
    fs::create_directories(path("folder"));
    std::vector<Refused> refused = {{"unread", "no program reads from it"}, {"folder", "is a folder"}};
    // A full device of our own (where device nodes can be made), not the system's /dev/full.
    if (mknod(path("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        refused.push_back({"full", "No space left on device"});
    }
    for (const Refused& c : refused) {
        const Outcome r = run({"batch", "--out", c.out, "a.MVR"});
        EXPECT_EQ(r.status, 1) << c.out;
        EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(path("unread")));
    EXPECT_TRUE(!fs::exists(path("full")) || fs::is_character_file(path("full")));
    EXPECT_TRUE(fs::is_directory(path("folder")));
}

TEST_F(CliHardening, StandardOutputThatCannotBeWritten) {
    std::ofstream(path("t.txt")) << "depth,force\n1,2\n2,3\n";
    Child full;
    full.stdoutPath = "/dev/full";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"points", "a.MVR"}, std::vector<std::string>{"guess", "t.txt"},
          std::vector<std::string>{"analyse", "--point", "10", "--action", "label", "a.MVR"}}) {
        const Outcome r = run(args, full);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    }
}

TEST_F(CliHardening, InputsThatArePipesOrFifos) {
    const Outcome expected = run({"points", "a.MVR"});
    ASSERT_EQ(expected.status, 0);
    ASSERT_GT(expected.out.size(), 1000u);

    // Standard input fed by a pipe is read once, all of it.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    Child fromPipe;
    fromPipe.stdinFd = ends[0];
    std::thread feeder([&] {
        const std::string bytes = slurp(kExample);
        EXPECT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(ends[1]);
    });
    const Outcome piped = run({"points", "/dev/stdin"}, fromPipe);
    feeder.join();
    close(ends[0]);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, expected.out);

    // A FIFO nobody writes to is refused at once; in a batch it is a row with an error.
    fifo("silent.MVR");
    const auto start = std::chrono::steady_clock::now();
    const Outcome silent = run({"points", "silent.MVR", "a.MVR"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(silent.status, 1);
    EXPECT_EQ(
        silent.err.rfind("mivaro-cli points: cannot read silent.MVR: it is a pipe or FIFO that no program "
                         "writes to\n",
                         0),
        0u)
        << silent.err;
    EXPECT_EQ(std::count(silent.out.begin(), silent.out.end(), '\n'),
              std::count(expected.out.begin(), expected.out.end(), '\n'));
    const Outcome batch = run({"batch", "silent.MVR", "a.MVR"});
    EXPECT_EQ(batch.status, 1);
    EXPECT_NE(
        batch.out.find("\nsilent.MVR" + std::string(16, ',') + "The file could not be read: it is a pipe"),
        std::string::npos)
        << batch.out;

    // An endless device is refused rather than read into all the memory there is.
    const Outcome endless = run({"points", "/dev/zero"});
    EXPECT_EQ(endless.status, 1);
    EXPECT_NE(endless.err.find("cannot read /dev/zero: it gives more than 128 MB"), std::string::npos)
        << endless.err;
}

TEST_F(CliHardening, RecogniserInputsThatArePipesOrFifos) {
    // Refused at once, as the other readers refuse them: no writer, or no end.
    fifo("silent.txt");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"silent.txt", "cannot read silent.txt: it is a pipe or FIFO that no program writes to\n"},
        {"/dev/zero", "cannot read /dev/zero: it gives more than 128 MB"}};
    for (const auto& [file, why] : refused) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome r = run({"recognise", file});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_NE(r.err.find("mivaro-cli recognise: " + why), std::string::npos) << r.err;
    }

    // A piped export is read once and recognised as the file itself is.
    std::ofstream(path("tribo.txt"), std::ios::binary)
        << "Mon Apr 29 10:41:06 2019\n\nNumber of Points = 5\nDepth (nm)\tLoad (\xB5N)\tTime (s)\n"
           "1\t100\t0\n3\t3000\t1\n\n3.1\t3000\t2\n\n2\t1500\t3\n1.5\t10\t4\n";
    std::vector<std::string> exports = {path("tribo.txt")};
    const std::string zip = mivaro::test::sharedExport("micromaterials_multipleIndentations.zip");
    if (fs::exists(zip)) {
        exports.push_back(zip);
    }
    const std::regex found(R"re("(format|points|letters)":("[^"]*"|\d+))re");
    const auto findings = [&](const std::string& out) {
        std::string list;
        for (auto it = std::sregex_iterator(out.begin(), out.end(), found); it != std::sregex_iterator();
             ++it) {
            list += it->str() + " ";
        }
        return list;
    };
    for (const std::string& file : exports) {
        const Outcome direct = run({"recognise", file});
        ASSERT_EQ(direct.status, 0) << direct.err;
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        Child fromPipe;
        fromPipe.stdinFd = ends[0];
        std::thread feeder([&] {
            const std::string bytes = slurp(file);
            EXPECT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            close(ends[1]);
        });
        const Outcome piped = run({"recognise", "/dev/stdin"}, fromPipe);
        feeder.join();
        close(ends[0]);
        EXPECT_EQ(piped.status, 0) << piped.err;
        EXPECT_NE(findings(direct.out).find("\"letters\":\"L"), std::string::npos) << direct.out;
        EXPECT_EQ(findings(piped.out), findings(direct.out));
    }
    if (exports.size() == 1) {
        GTEST_SKIP() << "the shared instrument exports are absent: the piped zip was not tried";
    }
}

TEST_F(CliHardening, TooLittleMemoryIsAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than any limit this test sets";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer needs more address space than any limit this test sets";
#endif
#endif
    // Enough address space to start, not enough to hold what /dev/zero gives.
    Child tight;
    tight.addressSpace = rlim_t{120} << 20;
    const Outcome r = run({"points", "/dev/zero"}, tight);
    EXPECT_EQ(r.status, 1) << "signal " << r.signal;
    EXPECT_NE(r.err.find("Not enough memory"), std::string::npos) << r.err;
}

TEST_F(CliHardening, ExitStatusesAndMessages) {
    fs::create_directories(path("ro"));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errStart;  // standard error starts so
    };
    std::vector<Case> cases = {
        {{"analyse", "--click", "400,300", "--action", "modulus", "missing.MVR"},
         1,
         "mivaro-cli analyse: cannot read missing.MVR: No such file or directory\n"},
        {{"analyse", "--point", "350", "--action", "modulus", "missing.MVR"},
         1,
         "mivaro-cli analyse: cannot read missing.MVR: No such file or directory\n"},
        {{"analyse", "--point", "99999999999", "--action", "modulus", "a.MVR"},
         2,
         "mivaro-cli analyse: point 99999999999 is not a point"},
        {{"points", "--settings", "nowhere", "a.MVR"}, 2, "mivaro-cli points: the settings folder nowhere"},
        {{"analyse", "--settings", "nowhere", "--point", "1", "--action", "label", "a.MVR"},
         2,
         "mivaro-cli analyse: the settings folder"},
        {{"convert", "--settings", "nowhere", "a.MVR"}, 2, "mivaro-cli convert: the settings folder"},
        {{"save-as", "--settings", "nowhere", "--name", "x.MVR", "a.MVR"},
         2,
         "mivaro-cli save-as: the settings"},
        {{"guess", "--settings", "nowhere", "a.MVR"}, 2, "mivaro-cli guess: the settings folder"},
        {{"batch", "--out", "", "a.MVR"}, 2, "mivaro-cli batch: --out needs a value"},
        {{"frobnicate", "a.MVR"}, 2, "mivaro-cli: unknown command frobnicate\nusage:"},
    };
#ifdef MIVARO_TEST_RENDER
    cases.push_back(
        {{"render", "--settings", "nowhere", "a.MVR"}, 2, "mivaro-cli render: the settings folder"});
    cases.push_back({{"render", "--out", "", "a.MVR"}, 2, "mivaro-cli render: --out needs a value"});
#endif
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1] << ": " << r.err;
        EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
    }

    // A Latin-1 label comes out as UTF-8 JSON.
    const Outcome label =
        run({"analyse", "--point", "10", "--action", "label", "--label", "caf\xe9", "a.MVR"});
    EXPECT_EQ(label.status, 0) << label.err;
    EXPECT_NE(label.out.find("\"text\": \"caf\xc3\xa9\""), std::string::npos) << label.out;

    // Nothing is printed for a file that was not written; convert says which .MVR and why.
    std::ofstream(path("ro/b.MVR")) << slurp(kExample);
    fs::permissions(path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    const Outcome saved = run({"save-as", "--name", "ro/out.MVR", "a.MVR"});
    const Outcome converted = run({"convert", "ro/b.MVR"});
    fs::permissions(path("ro"), fs::perms::owner_all);
    if (geteuid() != 0) {
        EXPECT_EQ(saved.status, 1);
        EXPECT_EQ(saved.out, "");
        EXPECT_EQ(converted.status, 1);
        EXPECT_EQ(converted.out, "");
        EXPECT_NE(converted.err.find("ro/b.MVR\" cannot be written: Permission denied"), std::string::npos)
            << converted.err;
    }

#ifdef MIVARO_TEST_RENDER
    // No warning from Qt about a missing runtime folder.
    Child bare;
    bare.unset = {"XDG_RUNTIME_DIR"};
    const Outcome render = run({"render", "--size", "40x30", "--out", "g.png", "a.MVR"}, bare);
    EXPECT_EQ(render.status, 0);
    EXPECT_EQ(render.err, "");
#endif
}

TEST_F(CliHardening, SignalDuringBatchRemovesTheTemporaryTable) {
    for (const int signal : {SIGINT, SIGTERM}) {
        std::ofstream(path("table.csv")) << "old table\n";
        // A FIFO whose writer never writes holds the batch in the middle of its table.
        const std::string stalled = fifo("stalled.MVR");
        const int writer = open(stalled.c_str(), O_RDWR);
        Child stop;
        stop.whileRunning = [&](pid_t pid) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (bool seen = false; !seen && std::chrono::steady_clock::now() < until;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                for (const auto& entry : fs::directory_iterator(m_dir)) {
                    seen = seen || entry.path().filename().string().rfind("table.csv.", 0) == 0;
                }
            }
            kill(pid, signal);
        };
        const Outcome r = run({"batch", "--jobs", "1", "--out", "table.csv", "a.MVR", "stalled.MVR"}, stop);
        close(writer);
        fs::remove(stalled);
        EXPECT_EQ(r.signal, signal);
        EXPECT_EQ(slurp(path("table.csv")), "old table\n");
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            EXPECT_EQ(entry.path().filename().string().rfind("table.csv.", 0), std::string::npos)
                << entry.path();
        }
    }
}

}  // namespace
