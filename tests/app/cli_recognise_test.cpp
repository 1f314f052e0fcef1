// mivaro-cli recognise, run as a separate process: one JSON line per file,
// exit status 1 when a file is not recognised or broken.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_cli.h"

namespace {

namespace fs = std::filesystem;
using mivaro::test::runCli;
using mivaro::test::RunResult;

TEST(CliRecognise, OneJsonLinePerFile) {
    const fs::path dir = fs::temp_directory_path() / ("mivaro_cli_recognise_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    };
    // TriboScan text with a Latin-1 µ; a Hysitron header whose value is Latin-1 too.
    write("tribo.txt",
          "Mon Apr 29 10:41:06 2019\n\nNumber of Points = 7\nDepth (nm)\tLoad (\xB5N)\tTime (s)\tDepth "
          "(V)\tLoad (V)\n"
          "1\t100\t0\t0\t0\n2\t2000\t1\t0\t0\n3\t3000\t2\t0\t0\n\n3.1\t3000\t3\t0\t0\n3.2\t3001\t4\t0\t0\n\n"
          "2\t1500\t5\t0\t0\n1.5\t10\t6\t0\t0\n");
    write("t.hld",
          "Tip ID: Berkovich \xB5\r\nTest Data Points: "
          "6\r\nTime_s\tDisp_nm\tForce_uN\r\n0\t1\t10\r\n1\t3\t500\r\n"
          "2\t5\t900\r\n3\t6\t1000\r\n4\t5\t600\r\n5\t3\t100\r\n");
    write("notes.txt", "nothing to see\n");
    const RunResult r = runCli({"recognise", "tribo.txt", "t.hld", "notes.txt"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.out,
        "{\"file\":\"tribo.txt\",\"format\":\"Hysitron TriboScan text\",\"indents\":1,\"segments_from\":"
        "\"blank lines\",\"indent_list\":[{\"name\":\"tribo.txt\",\"points\":7,\"letters\":\"L3T2U2\","
        "\"metadata\":{\"Date\":\"Mon Apr 29 10:41:06 2019\"}}]}\n"
        "{\"file\":\"t.hld\",\"format\":\"Hysitron .hld\",\"indents\":1,\"segments_from\":\"shape\","
        "\"indent_list\":[{\"name\":\"t.hld\",\"points\":6,\"letters\":\"L3T1U2\",\"metadata\":{\"Tip ID\":"
        "\"Berkovich \xC2\xB5\"}}]}\n"
        "{\"file\":\"notes.txt\",\"format\":null,\"indents\":0,\"segments_from\":null,\"indent_list\":[]}\n");
    EXPECT_NE(r.err.find("notes.txt: not a recognised instrument export"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"recognise", "tribo.txt"}, dir).status, 0);
    EXPECT_EQ(runCli({"recognise"}, dir).status, 2);
    fs::remove_all(dir);
}

}  // namespace
