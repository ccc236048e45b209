// Stands in for <png.h> in frosten_base, which holds no GL, X11, FLTK, audio
// or PNG code and does not reach the program's start-up.
#error "frosten_base must not include png.h: the code belongs in frosten_show or frosten_tooling"
