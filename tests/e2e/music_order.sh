#!/bin/bash
# The order of the sound library calls in the real show, from start-up to
# the credits, and a failing stop step: the "MIDAS" box replaces the credits
# and the later exit procedures (screen saver, last procedure) run once.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/music_common.bash"
export SDL_AUDIODRIVER=dummy
# The screen saver is on, so that restoring it shows in the trace.
xset s 600 600
RESTORE_SAVER=1

make_show_folder
cd "$WORK/show"

start_traced || fail "the traced show did not start"
sleep 1
press "$SHOW_WINDOW" Escape
dismiss "FROSTEN 2000"
expect_exit 0
cat >"$WORK/expected.txt" <<'END'
SystemParametersInfoA(16, 0)
SystemParametersInfoA(17, 0)
MIDASstartup() = 1
MIDASsetOption(11, 1) = 1
MIDASinit() = 1
MIDASstartBackgroundPlay(0) = 1
MIDASloadModule("mod\be_good.mod") = 1
MIDASplayModule(1, 1) = 1
frame
MIDASstopModule(1) = 1
MIDASfreeModule(1) = 1
MIDASstopBackgroundPlay() = 1
MIDASclose() = 1
MessageBoxA("FROSTEN 2000", "Code:  Schneewitz.\rPixels: Glitzerbirke.\rMuzik: Kalte Sohlen", 0)
SystemParametersInfoA(17, 1)
last exit procedure
END
expect_trace "$WORK/expected.txt"

export MUSIC_FAIL=MIDASfreeModule
start_traced || fail "the traced show did not start"
sleep 1
press "$SHOW_WINDOW" Escape
dismiss MIDAS
expect_exit 1
no_window '^FROSTEN 2000$' || fail "credits box after the error box"
cat >"$WORK/expected.txt" <<'END'
SystemParametersInfoA(16, 0)
SystemParametersInfoA(17, 0)
MIDASstartup() = 1
MIDASsetOption(11, 1) = 1
MIDASinit() = 1
MIDASstartBackgroundPlay(0) = 1
MIDASloadModule("mod\be_good.mod") = 1
MIDASplayModule(1, 1) = 1
frame
MIDASstopModule(1) = 1
MIDASfreeModule(1) = 0 (injected)
MIDASgetLastError() = injected
MIDASgetErrorMessage(injected)
MessageBoxA("MIDAS", "midas sound error : injected failure of MIDASfreeModule", 16)
MIDASclose() = 1
SystemParametersInfoA(17, 1)
last exit procedure
END
expect_trace "$WORK/expected.txt"
echo "PASS"
