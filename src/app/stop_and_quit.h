#pragma once

// Behind every control that ends something. During a check run it only stops the run (clears
// checkRunning); otherwise it releases the archivers and ends the event loop.
void StopOrQuit();
