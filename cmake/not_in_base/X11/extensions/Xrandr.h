// Stands in for <X11/extensions/Xrandr.h> in frosten_base, which holds no GL, X11, FLTK, audio
// or PNG code and does not reach the program's start-up.
#error "frosten_base must not include X11/extensions/Xrandr.h: the code belongs in frosten_show or frosten_tooling"
