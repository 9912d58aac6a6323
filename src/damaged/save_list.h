#pragma once

#include <QString>
#include <string>

// Saving the ticked entries of the damaged list to a text file chosen by the user.

// The save dialog's filters; the index is 1 for text files, 2 for all files.
inline constexpr int kTextFilesFilter = 1;
inline constexpr int kAllFilesFilter = 2;

// The name a save writes to: with the text-file filter a name without an extension gets ".txt";
// otherwise it stays as chosen.
QString SaveFileName(const QString& chosen, int filterIndex);

// The file's bytes: the ticked entries from the bottom of the list up, one line each, every line
// ending in CR LF; CP932 when every entry survives it, else UTF-8 behind a byte-order mark.
std::string SavedListBytes();

// What follows the dialog's answer: writes the ticked entries to SaveFileName(chosen, filterIndex)
// and proposes that name at the next save. A file that cannot be written is reported in a
// message box and the list stays as it was; the entries keep their ticks either way.
void SaveChosenFile(const QString& chosen, int filterIndex);
