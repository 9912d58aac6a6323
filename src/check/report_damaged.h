#pragma once

#include <QString>

// The pixel width of the widest damaged-list entry, measured with the form's font. Whenever the
// list's horizontal extent is set, it is set to this width + 18.
extern int widestEntryWidth;

// The width of an entry's text in the form's font.
int EntryWidth(const QString& entry);

// Puts a ticked entry at the top of the damaged list (CheckBox) and widens the list's horizontal
// extent when it is the widest so far.
void AddDamagedEntry(const QString& entry);

// The damaged-list entry for a failed archive: its path, the archiver's reason for resultCode
// (for kind 1..5) and the extract-side reason for extraCode.
void ReportDamaged(const QString& path, int kind, int resultCode, int extraCode);
