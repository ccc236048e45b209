#!/bin/bash
# The show writes no files: neither a run to its end nor a Cancel in the
# launcher leaves anything in the home folder or in /etc (FLTK's preference
# files would go to ~/.fltk and, as root, /etc/fltk).
source "$(dirname "$0")/lib.sh"
use_private_xvfb 1024x768 || fail "no Xvfb"
export SDL_AUDIODRIVER=dummy
HOME="$(mktemp -d)"
export HOME
at_exit "rm -rf $HOME"
MARK="$(mktemp)"
at_exit "rm -f $MARK"
etc_fltk_before="$(ls -la --time-style=full-iso /etc/fltk 2>/dev/null; find /etc/fltk -type f -exec md5sum {} + 2>/dev/null)"
sleep 1  # files written later are newer than the mark

start_show || fail "no show window"
end_show "$SHOW_WINDOW" || fail "the show did not end"
[ "$EXIT_CODE" = 0 ] || fail "exit status $EXIT_CODE"

"$BUILD/frosten" >/dev/null 2>&1 &
pid=$!
at_exit "kill -9 $pid 2>/dev/null"
launcher="$(wait_launcher)" || fail "no launcher window"
# shellcheck disable=SC2086
click "$launcher" $LAUNCHER_CANCEL
wait_exit "$pid" 30 || fail "Cancel did not end the program"

left="$(find "$HOME" -mindepth 1)"
[ -z "$left" ] || fail "files left in the home folder: $left"
newer="$(find /etc -xdev -newer "$MARK" -path '*fltk*' 2>/dev/null)"
[ -z "$newer" ] || fail "files written under /etc: $newer"
etc_fltk_after="$(ls -la --time-style=full-iso /etc/fltk 2>/dev/null; find /etc/fltk -type f -exec md5sum {} + 2>/dev/null)"
[ "$etc_fltk_before" = "$etc_fltk_after" ] || fail "/etc/fltk changed"
echo "writes no files: ok"
