#pragma once

#include <functional>
#include <string>

namespace pyx {

struct WalkOptions {
    std::string mask;     // which files are listed (folder_listing.h)
    bool recurse = true;  // also walk the subfolders
};

// Called for each listed file with its folder and name; returns false to stop the walk.
using VisitFile = std::function<bool(const std::string& folder, const std::string& name)>;
// Called for a folder that cannot be read; the walk skips it and goes on.
using UnreadableFolder = std::function<void(const std::string& folder)>;

// Walks a folder tree in the order the window walks it: a folder's files first, in name order,
// then each subfolder in name order, depth first. A folder reached again (through a symbolic
// link) is never walked twice. With an empty mask nothing is walked, not even the subfolders.
// Returns false when the visitor stopped the walk.
bool WalkFolderTree(const std::string& root, const WalkOptions& options, const VisitFile& visit,
                    const UnreadableFolder& unreadable);

}  // namespace pyx
