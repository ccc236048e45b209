// Stands in for <libopenmpt/libopenmpt.h> in frosten_base, which holds no GL, X11, FLTK, audio
// or PNG code and does not reach the program's start-up.
#error "frosten_base must not include libopenmpt/libopenmpt.h: the code belongs in frosten_show or frosten_tooling"
