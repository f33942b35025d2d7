#include "screen/program_main.h"

// SDL may rename main on some platforms; the program's entry point stays plain.
int main(int /*argc*/, char** /*argv*/) {
  return zz::ProgramMain();
}
