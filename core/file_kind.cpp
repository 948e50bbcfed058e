#include "core/file_kind.h"

#include <windows.h>

#include <array>

#include "core/file_kind_cache.h"
#include "core/win_handles.h"

namespace lt {

namespace {
std::unique_ptr<KnownFiles> g_prefetched;

const KnownFile* Prefetched(const std::string& path)
{
    if (!g_prefetched)
        return nullptr;
    auto it = g_prefetched->find(path);
    return it == g_prefetched->end() ? nullptr : &it->second;
}
} // namespace

const KnownFiles* PrefetchedKinds()
{
    return g_prefetched.get();
}
void SetPrefetchedKinds(std::unique_ptr<KnownFiles> files)
{
    g_prefetched = std::move(files);
}

bool FileExists(const std::string& path)
{
    if (const KnownFile* known = Prefetched(path))
        return known->Exists;
    return ExistsOnDisk(path);
}

FileKind GetFileKind(const std::string& path)
{
    if (const KnownFile* known = Prefetched(path); known && known->Exists)
        return known->Kind;
    return KindOnDisk(path);
}

bool ExistsOnDisk(const std::string& path)
{
    // A listing with a pattern would match other names; only exact paths count.
    if (path.empty() || path.find_first_of("*?") != std::string::npos)
        return false;
    // One attribute query: what a listing of the exact name would report,
    // without reading the folder.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    constexpr DWORD excluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (attributes & excluded) == 0;
}

FileKind KindOnDisk(const std::string& path)
{
    if (IsM3uName(path))
        return FileKind::M3u;
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FileKind::None;
    std::array<std::uint8_t, KindHeadSize> head{};
    DWORD got = 0;
    if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &got, nullptr))
        return FileKind::None;
    return KindFromHead(std::span<const std::uint8_t>(head.data(), got));
}

} // namespace lt
