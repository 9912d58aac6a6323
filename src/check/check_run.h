#pragma once

// 1 while a check run is in progress; set and cleared by the run, cleared early by StopOrQuit
// to stop it. Read and written on the GUI thread only.
extern int checkRunning;
