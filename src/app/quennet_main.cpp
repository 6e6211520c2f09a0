#include "app/program.h"
#include "res/names_quennet.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, QuennetNames()); }
