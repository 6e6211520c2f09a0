// The floor for valdrix-cli's start-up: a compiled program that prints the FM page's default
// lines and links nothing but the C library.
#include <cstdio>

int main() {
    std::puts("FM:STATe ON");
    std::puts("FM:INTernal:FREQuency 1000.000000Hz");
    std::puts("FM:DEViation 1000.000000Hz");
    std::puts("FM:INTernal:FUNCtion SINusoid");
}
