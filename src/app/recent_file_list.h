#pragma once

#include <string>
#include <vector>

namespace mivaro {

// The recent project files, newest first, at most kCapacity entries. Kept in
// the user profile; the menu does not show it.
class RecentFileList {
  public:
    static constexpr int kCapacity = 6;

    explicit RecentFileList(std::vector<std::string> entries = {});

    // Moves an already listed path to the front instead of listing it twice.
    void add(const std::string& path);
    const std::vector<std::string>& entries() const { return m_entries; }

  private:
    std::vector<std::string> m_entries;
};

}  // namespace mivaro
