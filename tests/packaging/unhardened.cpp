// A program for the hardening check to fail: built without any of the flags, with a fixed-size
// buffer, a call the fortified C library would check and a stack it would protect.
#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    char copy[64];
    std::strcpy(copy, argv[argc - 1]);
    std::puts(copy);
}
