#include "core/kind_prefetch.h"

#include <algorithm>
#include <thread>

#include "core/file_kind.h"
#include "core/file_kind_cache.h"

namespace lt {

namespace {

// Below this a batch is quicker done in line than with threads.
constexpr std::size_t MinBatch = 64;
constexpr unsigned MaxWorkers = 4;

} // namespace

KindPrefetch::KindPrefetch(const std::vector<std::string>& paths)
{
    if (paths.size() < MinBatch || PrefetchedKinds())
        return;
    std::vector<KnownFile> found(paths.size());
    unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, MaxWorkers);
    auto classify = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            found[i].Exists = ExistsOnDisk(paths[i]);
            found[i].Kind = found[i].Exists ? KindOnDisk(paths[i]) : FileKind::None;
        }
    };
    std::vector<std::thread> threads;
    const std::size_t slice = (paths.size() + workers - 1) / workers;
    for (unsigned w = 1; w < workers; ++w) {
        std::size_t from = std::min(paths.size(), slice * w);
        std::size_t to = std::min(paths.size(), from + slice);
        if (from < to)
            threads.emplace_back(classify, from, to);
    }
    classify(0, std::min(paths.size(), slice));
    for (std::thread& t : threads)
        t.join();

    auto table = std::make_unique<KnownFiles>();
    table->reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        table->try_emplace(paths[i], found[i]);
    SetPrefetchedKinds(std::move(table));
    active_ = true;
}

KindPrefetch::~KindPrefetch()
{
    if (active_)
        SetPrefetchedKinds(nullptr);
}

} // namespace lt
