#include "app/program.h"
#include "res/names_valdrix.h"

int main(int argc, char** argv) { return RunProgram(argc, argv, ValdrixNames()); }
