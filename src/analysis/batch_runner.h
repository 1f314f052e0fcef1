#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace mivaro {

// One finished line of a batch's output.
struct BatchLine {
    std::string text;
    bool error = false;
};

// Told how far a batch has come; called on the thread that runs runBatch.
class BatchProgressSink {
  public:
    virtual ~BatchProgressSink() = default;
    virtual void filesDone(std::size_t done, std::size_t total, std::size_t withErrors) = 0;
};

struct BatchTally {
    std::size_t done = 0;
    std::size_t withErrors = 0;
};

// Runs work(0) .. work(count - 1) on `jobs` threads and hands the lines to
// emit in index order, each as soon as it and every line before it are done.
// A thread runs at most a few jobs' worth of lines ahead of the output, so
// memory stays bounded whatever the count. emit and progress are called on the
// calling thread; work must not throw.
BatchTally runBatch(std::size_t count, unsigned jobs, const std::function<BatchLine(std::size_t)>& work,
                    const std::function<void(const BatchLine&)>& emit, BatchProgressSink* progress = nullptr);

}  // namespace mivaro
