#pragma once

#include <array>

// The check depth of each archive kind (0 Off, 1 Simple, 2 Normal, 3 Strict, 4 Probe,
// 5 Extract), 2 at program start. The settings page's track bars are the master copy;
// ApplyModeSettings copies them here.
extern int LzhMode;
extern int ZipMode;
extern int ArjMode;
extern int CabMode;
extern int RarMode;

// The label text of each mode value.
extern const std::array<const char*, 6> modeLabels;

// Track bars → mode values, the labels under them, and FileBox's mask rebuilt in the fixed order
// "*.lzh;" "*.zip;" "*.arj;" "*.cab;" "*.rar;" then "*.exe;" (Check5 ticked and any kind on);
// FileBox is read again, which empties its selection.
void ApplyModeSettings();

// The mode values indexed by ArchiveKind (Lzh 1 .. Rar 5; slot 0 is 0), for the core.
std::array<int, 6> CurrentModes();
