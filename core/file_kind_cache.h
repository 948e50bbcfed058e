// What a prefetch found about files, and the uncached look-ups it uses.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>

#include "core/file_kind_rules.h"

namespace lt {

struct KnownFile {
    bool Exists = false;
    FileKind Kind = FileKind::None;
};

using KnownFiles = std::unordered_map<std::string, KnownFile>;

const KnownFiles* PrefetchedKinds();
void SetPrefetchedKinds(std::unique_ptr<KnownFiles> files);

// Straight to the file system, bypassing any prefetch.
bool ExistsOnDisk(const std::string& path);
FileKind KindOnDisk(const std::string& path);

} // namespace lt
