#pragma once

// Makes every tooltip of the application appear at once, without the usual pause.
void SetHintPauseZero();
