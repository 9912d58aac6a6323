#pragma once

// 1 while a check run is in progress; set and cleared by the run, cleared early by StopOrQuit
// to stop it. Read and written on the GUI thread only.
extern int checkRunning;

// Checks the open folder (scope 0; with its subfolders when サブフォルダの検索 is ticked) or the
// file selected in FileBox (scope 1). Locks the selection page for the run and unlocks it
// however the run ends. Pumps events between files, so a stop is seen there.
void StartCheck(int scope);

// Walks the folder FolderBox shows (its item folderIndex): its files, then its subfolders depth
// first, moving FolderBox along. lastSibling: the folder is the last subfolder of its parent,
// so it climbs back to the parent when done.
void WalkFolder(int folderIndex, int lastSibling);

// Tests FileBox's item index in FolderBox's folder and lists it when it fails.
void CheckOneFile(int index);
