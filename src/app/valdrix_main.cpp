#include "app/program.h"
#include "res/names_valdrix.h"

using namespace valdrix::gui;

int main(int argc, char** argv) {
    return RunProgram(argc, argv, ValdrixNames());
}
