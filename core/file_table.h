// The file list model: an ordered table of paths and their kinds with
// 1-based indices. No platform calls here; opening entries is file_loader's.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/file_kind_rules.h"

namespace lt {

struct FileEntry {
    std::string Path; // ANSI bytes, exactly as added
    FileKind Kind = FileKind::None;
};

class FileTable {
public:
    static constexpr int Capacity = 10000;

    int Count() const { return static_cast<int>(entries_.size()); }
    bool Full() const { return Count() >= Capacity; }

    // 1-based; out-of-range indices give an empty entry.
    const FileEntry& At(int index) const;

    // Appends and returns the new index, or 0 when the table is full.
    int Append(std::string path, FileKind kind);

    // First entry whose path equals path byte for byte, or 0.
    int Find(std::string_view path) const;

    // Removes one entry and closes the gap; out-of-range does nothing.
    void Remove(int index);
    void Clear();

    // First entry after start whose kind is a, b or c (kind None never
    // matches); with wrap, then the first among 1..start. 0 when none.
    int FindNextOfKind(int start, FileKind a, FileKind b, FileKind c, bool wrap) const;

    const std::vector<FileEntry>& Entries() const { return entries_; }

    // Counts removals and clears: while it stays the same, entries only
    // ever came at the end, and indices seen earlier still hold.
    unsigned long Removals() const { return removals_; }

private:
    struct PathHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    void Reindex();

    std::vector<FileEntry> entries_;
    unsigned long removals_ = 0;
    // Path -> 0-based position of its first entry; keeps adding to a long
    // list linear.
    std::unordered_map<std::string, int, PathHash, std::equal_to<>> positions_;
};

} // namespace lt
