// The launcher window: display mode and options, then the display opens.
#pragma once

#include <cstdint>

// Shows the launcher and, once confirmed, opens the display with the chosen
// settings. Cancel ends the program with exit code 0.
void RunLauncher(uint32_t extraDisplayMode);
