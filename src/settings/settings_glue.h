#pragma once

#include <filesystem>

// The settings file as the window sees it: the reader applies it to the form, the writer collects
// the form's state. The file's format is the core's (settings/settings_file.h).

// The settings file's full path: SettingsFilePath of the executable's folder. Never relative,
// since the current directory follows the folder list.
std::filesystem::path SettingsFileLocation();
// Points the reader and the writer at another file; an empty path goes back to the usual one.
// For tests, which must not touch the file beside their executable.
void SetSettingsFileLocationForTests(const std::filesystem::path& file);

// Step 2 of FormCreate. Applies what the file holds, in this order: the open folder (only when it
// exists; DriveBox follows it), the move folder, windowX and windowY (only both together), the
// options in file order (so Melt1 sets the track bars' range first), the saved modes through the
// track bars (which clamp them), then every list entry at the top of CheckBox, ticked, and the
// list's extent. Whatever the file does not hold, or holds for another version, keeps its default.
// Returns whether there was a settings file to read.
bool ReadSettingsFile();

// Saves the state to the settings file, atomically: the open folder, the move folder, the form's
// left and top edges (also when hidden), the five modes, the nine options and every list entry.
// When the file cannot be written nothing is reported and the old file stays as it was.
void WriteSettingsFile();
