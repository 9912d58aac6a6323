#include "check/check_run.h"

int checkRunning = 0;
