#include "analysis/batch_runner.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace mivaro {
namespace {

// Lines a job may finish ahead of the output: enough to keep every thread busy
// while one slow file holds the output back, few enough to bound the memory.
constexpr std::size_t kLinesAheadPerJob = 4;

void account(BatchTally& tally, const BatchLine& line, std::size_t count, BatchProgressSink* progress) {
    ++tally.done;
    if (line.error) {
        ++tally.withErrors;
    }
    if (progress != nullptr) {
        progress->filesDone(tally.done, count, tally.withErrors);
    }
}

}  // namespace

BatchTally runBatch(std::size_t count, unsigned jobs, const std::function<BatchLine(std::size_t)>& work,
                    const std::function<void(const BatchLine&)>& emit, BatchProgressSink* progress) {
    BatchTally tally;
    if (count == 0) {
        return tally;
    }
    jobs = static_cast<unsigned>(std::clamp<std::size_t>(jobs, 1, count));
    const std::size_t window = kLinesAheadPerJob * jobs;

    std::mutex mutex;
    std::condition_variable lineReady;  // the output waits for its next line
    std::condition_variable roomAhead;  // the jobs wait for the output to catch up
    std::map<std::size_t, BatchLine> finished;
    std::size_t handedOut = 0;
    std::size_t written = 0;

    const auto job = [&] {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                roomAhead.wait(lock, [&] { return handedOut >= count || handedOut < written + window; });
                if (handedOut >= count) {
                    return;
                }
                index = handedOut++;
            }
            BatchLine line = work(index);
            {
                const std::lock_guard lock(mutex);
                finished.emplace(index, std::move(line));
            }
            lineReady.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < jobs; ++t) {
        try {
            pool.emplace_back(job);
        } catch (const std::system_error&) {
            break;  // run with the threads that did start
        }
    }
    if (pool.empty()) {
        for (std::size_t i = 0; i < count; ++i) {
            const BatchLine line = work(i);
            emit(line);
            account(tally, line, count, progress);
        }
        return tally;
    }
    while (tally.done < count) {
        BatchLine line;
        {
            std::unique_lock lock(mutex);
            lineReady.wait(lock, [&] { return !finished.empty() && finished.begin()->first == written; });
            line = std::move(finished.begin()->second);
            finished.erase(finished.begin());
            ++written;
        }
        roomAhead.notify_all();
        emit(line);
        account(tally, line, count, progress);
    }
    for (std::thread& thread : pool) {
        thread.join();
    }
    return tally;
}

}  // namespace mivaro
