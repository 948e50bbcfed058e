#include "core/kind_prefetch.h"

#include <algorithm>
#include <exception>
#include <new>

#include "core/file_kind.h"
#include "core/file_kind_cache.h"

namespace lt {

namespace {

// Below this a batch is quicker done in line than with threads.
constexpr std::size_t MinBatch = 64;
constexpr unsigned MaxWorkers = 4;

std::unique_ptr<KnownFiles> Classify(const std::vector<std::string>& paths, const WorkerStart& start)
{
    std::vector<KnownFile> found(paths.size());
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
    const std::size_t slice = (paths.size() + workers - 1) / workers;
    auto classify = [&](std::size_t from) {
        const std::size_t to = std::min(paths.size(), from + slice);
        for (std::size_t i = from; i < to; ++i) {
            found[i].Exists = ExistsOnDisk(paths[i]);
            found[i].Kind = found[i].Exists ? KindOnDisk(paths[i]) : FileKind::None;
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(workers);
    std::vector<std::size_t> inLine;
    inLine.reserve(workers);
    inLine.push_back(0);
    for (std::size_t from = slice; from < paths.size(); from += slice) {
        // A worker that cannot start leaves its share to this thread.
        try {
            auto job = [&classify, from] { classify(from); };
            threads.push_back(start ? start(job) : std::thread(job));
        } catch (const std::exception&) {
            inLine.push_back(from);
        }
    }
    for (std::size_t from : inLine)
        classify(from);
    for (std::thread& t : threads)
        t.join();

    auto table = std::make_unique<KnownFiles>();
    table->reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        table->try_emplace(paths[i], found[i]);
    return table;
}

} // namespace

KindPrefetch::KindPrefetch(const std::vector<std::string>& paths, const WorkerStart& start)
{
    if (paths.size() < MinBatch || PrefetchedKinds())
        return;
    // Without the table (no memory) each file is simply classified when added.
    try {
        SetPrefetchedKinds(Classify(paths, start));
        active_ = true;
    } catch (const std::bad_alloc&) {
    }
}

KindPrefetch::~KindPrefetch()
{
    if (active_)
        SetPrefetchedKinds(nullptr);
}

} // namespace lt
