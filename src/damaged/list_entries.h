#pragma once

#include <vector>

// The damaged list's own helpers, shared by its actions.

// True when the damaged list (CheckBox) holds at least one ticked entry.
bool AnyEntryChecked();

// Removes every ticked entry and sets the horizontal extent to the widest remaining entry + 18.
// When nothing is ticked, nothing changes, the extent included.
void RemoveCheckedEntries();

// Removes the entries at `rows` (any order, each once) and resets the extent as above.
void RemoveEntries(std::vector<int> rows);
