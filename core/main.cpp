#include "core/program.h"

int main(int argc, char **argv) {
  ProgramArgc = argc;
  ProgramArgv = argv;
  StartProgram();
}
