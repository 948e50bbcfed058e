// Classifies many files at once on a few worker threads, so that a long batch
// (the command queue, a list file, a folder) does not wait on each file's
// open in turn. While a KindPrefetch lives, FileExists and GetFileKind answer
// for its paths from what it found.
#pragma once
#include <string>
#include <vector>

namespace lt {

class KindPrefetch {
public:
    explicit KindPrefetch(const std::vector<std::string>& paths);
    ~KindPrefetch();
    KindPrefetch(const KindPrefetch&) = delete;
    KindPrefetch& operator=(const KindPrefetch&) = delete;

private:
    bool active_ = false;
};

} // namespace lt
