#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "curves/curve_types.h"
#include "platform/message_port.h"

namespace mivaro::test {

// Records every message box instead of showing it.
class RecordingMessages final : public MessagePort {
  public:
    struct Shown {
        std::string text;
        std::string caption;
    };
    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageButtons) override {
        shown.push_back({text, caption});
        return MessageAnswer::Ok;
    }
    std::vector<Shown> shown;
};

// A fresh directory under the system temp directory, removed at the end.
class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("mivaro_curves_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Settings directory form: ends with '/'.
    std::string dir() const { return m_path.string() + "/"; }
    std::string path(const std::string& name) const { return (m_path / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        const std::string file = path(name);
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

    // "MivaroOpenSetup.par" for a setup, one value a line.
    void writeOpenSetup(const ColumnSetup& s, const std::string& separatorText = ";") const {
        write("MivaroOpenSetup.par",
              std::to_string(s.headerLines) + "\n" + std::to_string(s.displacementColumn) + "\n" +
                  std::to_string(s.forceColumn) + "\n" + std::to_string(s.decimalComma) + "\n" +
                  std::to_string(s.depthUnit) + "\n" + std::to_string(s.forceUnit) + "\n" +
                  std::to_string(s.separatorKind) + "\n" + separatorText + "\n" +
                  std::to_string(s.segmentColumnPresent) + "\n" + std::to_string(s.timeColumnPresent) + "\n" +
                  std::to_string(s.segmentColumn) + "\n" + std::to_string(s.timeColumn) + "\n");
    }

  private:
    std::filesystem::path m_path;
};

inline std::string sharedExport(const std::string& name) {
    return std::string(MIVARO_SHARED_TESTDATA) + "/instrument-exports/" + name;
}

}  // namespace mivaro::test
