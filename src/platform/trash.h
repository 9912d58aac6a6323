#pragma once

#include <string>

namespace pyx {

struct TrashResult {
    bool trashed = false;
    std::string trashedAs;  // where the file now lies
    std::string error;      // why not, for the user
};

// Sends a file to the desktop trash in the freedesktop.org trash layout: the
// home trash ($XDG_DATA_HOME/Trash) for files on its file system, else the volume's
// $topdir/.Trash/$uid or $topdir/.Trash-$uid. The trash folders are made when missing, an info
// file records the original path and the time, and the result is checked: a file that did not
// arrive in the trash is reported as not trashed and stays where it was.
TrashResult MoveToTrash(const std::string& path);

}  // namespace pyx
