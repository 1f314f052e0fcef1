#pragma once

#include <system_error>
#include <thread>
#include <vector>

namespace mivaro {

// Runs share(0) .. share(count - 1), each on its own thread where one can be
// started; a share whose thread cannot be started runs on the calling thread.
template <typename Share>
void runShares(unsigned count, Share share) {
    std::vector<std::thread> pool;
    std::vector<unsigned> leftOver;
    for (unsigned t = 1; t < count; ++t) {
        try {
            pool.emplace_back(share, t);
        } catch (const std::system_error&) {
            leftOver.push_back(t);
        }
    }
    share(0u);
    for (const unsigned t : leftOver) {
        share(t);
    }
    for (auto& thread : pool) {
        thread.join();
    }
}

}  // namespace mivaro
