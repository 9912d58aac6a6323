#include "check/folder_walk.h"

#include <sys/stat.h>

#include <set>
#include <utility>

#include "check/check_one.h"
#include "platform/folder_listing.h"

namespace pyx {
namespace {

using FolderId = std::pair<dev_t, ino_t>;

bool Walk(const std::string& folder, const WalkOptions& options, const VisitFile& visit,
          const UnreadableFolder& unreadable, std::set<FolderId>& seen) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && !seen.insert({st.st_dev, st.st_ino}).second) {
        return true;  // walked already: a link loop or a second link to the same folder
    }
    const auto listing = ListFolder(folder, options.mask);
    if (!listing) {
        unreadable(folder);
        return true;
    }
    for (const auto& name : listing->files) {
        if (!visit(folder, name))
            return false;
    }
    if (!options.recurse)
        return true;
    for (const auto& sub : listing->subfolders) {
        if (!Walk(JoinPath(folder, sub), options, visit, unreadable, seen))
            return false;
    }
    return true;
}

}  // namespace

bool WalkFolderTree(const std::string& root, const WalkOptions& options, const VisitFile& visit,
                    const UnreadableFolder& unreadable) {
    if (options.mask.empty())
        return true;
    std::set<FolderId> seen;
    return Walk(root, options, visit, unreadable, seen);
}

}  // namespace pyx
