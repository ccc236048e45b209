// Blanking besides the X screen saver's timeout: screen-saver programs that
// watch the MIT-SCREEN-SAVER extension, and DPMS power saving. Held off
// while the show runs, where the X server offers them.
#pragma once

// Suspends the extension's screen saver and switches DPMS off when it is on;
// remembers what it changed.
void SuspendBlanking();

// Puts back exactly what SuspendBlanking changed.
void ResumeBlanking();
