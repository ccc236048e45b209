// The screen-saver switch in the manner of SystemParametersInfoA, on the X
// server's screen-saver settings: "active" means a timeout other than 0.
#pragma once

enum {
  SPI_GETSCREENSAVEACTIVE = 16,
  SPI_SETSCREENSAVEACTIVE = 17
};

// SPI_GETSCREENSAVEACTIVE: writes the state to *(bool *)pvParam.
// SPI_SETSCREENSAVEACTIVE: uiParam 0 switches the saver off (timeout 0) and
// remembers the settings; uiParam 1 puts the remembered settings back. The
// settings are shared by the programs on one display that switch it off: it
// stays off until the last of them puts it back, and reads as on meanwhile.
// Returns false when there is no X display or the action is unknown.
bool SystemParametersInfoA(unsigned action, unsigned uiParam, void *pvParam, unsigned winIni);
