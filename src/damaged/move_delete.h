#pragma once

#include <set>
#include <string>
#include <vector>

class CheckListBox;

// Moving the files of the ticked damaged-list entries into the destination folder (Folder), or
// deleting them into the desktop trash.

inline constexpr int kMoveOperation = 0;
inline constexpr int kDeleteOperation = 1;

// The files of the ticked entries, top to bottom: each entry's path once, and only paths where a
// regular file exists.
std::vector<std::string> CheckedFiles();

// The rows that leave the list after a move or delete: every ticked entry except those whose file
// is among `filesLeft` — files that could not be moved or deleted, or whose turn a cancel took
// away. Those are still damaged and still on disk, so they stay, ticked.
std::vector<int> RowsLeavingList(const CheckListBox& list, const std::set<std::string>& filesLeft);

// operation kMoveOperation moves into Folder's folder, replacing same-named files there;
// kDeleteOperation sends to the trash without asking. Long work shows a progress dialog that can
// cancel; every file that fails is named with its reason in one message box at the end. Then the
// entries leave the list by RowsLeavingList, the extent is reset and FileBox re-reads its folder.
void MoveOrDeleteChecked(int operation);
