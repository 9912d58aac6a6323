#pragma once

// The FolderBox item (the depth) of the folder last recorded as open; FolderBoxClick tells the
// open folder, a subfolder and an ancestor apart by it.
extern int lastFolderIndex;
