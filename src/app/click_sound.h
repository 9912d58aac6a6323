#pragma once

// Starts the click sound and returns at once. Without an audio device it stays silent.
void PlayClick();
