#include "app/recent_file_list.h"

#include <algorithm>
#include <utility>

namespace mivaro {

RecentFileList::RecentFileList(std::vector<std::string> entries) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->empty()) {
            add(*it);
        }
    }
}

void RecentFileList::add(const std::string& path) {
    std::erase(m_entries, path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > static_cast<std::size_t>(kCapacity)) {
        m_entries.resize(kCapacity);
    }
}

}  // namespace mivaro
