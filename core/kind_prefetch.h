// Classifies many files at once on a few worker threads, so that a long batch
// (the command queue, a list file, a folder) does not wait on each file's
// open in turn. While a KindPrefetch lives, FileExists and GetFileKind answer
// for its paths from what it found.
#pragma once
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace lt {

// Starts a worker thread running job; throws (std::system_error) when the
// platform cannot start one.
using WorkerStart = std::function<std::thread(std::function<void()> job)>;

class KindPrefetch {
public:
    // Without a starter, std::thread starts the workers.
    explicit KindPrefetch(const std::vector<std::string>& paths, const WorkerStart& start = {});
    ~KindPrefetch();
    KindPrefetch(const KindPrefetch&) = delete;
    KindPrefetch& operator=(const KindPrefetch&) = delete;

private:
    bool active_ = false;
};

} // namespace lt
