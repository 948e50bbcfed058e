#include "core/file_table.h"

#include <algorithm>

namespace lt {

const FileEntry& FileTable::At(int index) const
{
    static const FileEntry empty;
    if (index < 1 || index > Count())
        return empty;
    return entries_[static_cast<std::size_t>(index - 1)];
}

int FileTable::Append(std::string path, FileKind kind)
{
    if (Full())
        return 0;
    positions_.try_emplace(path, Count());
    entries_.push_back(FileEntry{std::move(path), kind});
    return Count();
}

int FileTable::Find(std::string_view path) const
{
    auto it = positions_.find(path);
    return it == positions_.end() ? 0 : it->second + 1;
}

void FileTable::Remove(int index)
{
    if (index < 1 || index > Count())
        return;
    entries_.erase(entries_.begin() + (index - 1));
    ++removals_;
    Reindex();
}

void FileTable::Clear()
{
    removals_ += entries_.empty() ? 0 : 1;
    entries_.clear();
    positions_.clear();
}

void FileTable::Reindex()
{
    positions_.clear();
    for (int i = 0; i < Count(); ++i)
        positions_.try_emplace(entries_[static_cast<std::size_t>(i)].Path, i);
}

int FileTable::FindNextOfKind(int start, FileKind a, FileKind b, FileKind c, bool wrap) const
{
    auto matches = [&](int i) {
        const FileKind k = At(i).Kind;
        return k != FileKind::None && (k == a || k == b || k == c);
    };
    for (int i = std::max(start, 0) + 1; i <= Count(); ++i) {
        if (matches(i))
            return i;
    }
    if (wrap) {
        const int last = std::min(start, Count());
        for (int i = 1; i <= last; ++i) {
            if (matches(i))
                return i;
        }
    }
    return 0;
}

} // namespace lt
