#pragma once

#include <QString>
#include <QStringList>

// 1 until the start-up actions have run; they run once per run.
extern int startupPending;

// The current directory when the program started, before the folder list moved it: a relative
// folder on the command line is taken from there.
extern QString launchDirectory;

// The start-up actions, at the first idle moment after the window's first showing: hide to the
// tray when 起動後に最小化 is ticked; then the command line ("/s" checks the open folder, "/s" and
// an existing folder opens and checks that one, "/s" and a folder that does not exist does
// nothing, any other form is ignored); then, unless the command line was acted on, a check when
// 起動後にチェック開始 is ticked. At most one check.
// parameters: the command line after the program's own path.
void AppFirstIdle(const QStringList& parameters);
