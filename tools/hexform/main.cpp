// hexform: prints a 32-bit integer in hexadecimal with "0x".
#include "shared/integer_form.h"

int main(int argc, char** argv) {
    return integerform::run(argc, argv, integerform::Notation::Hexadecimal);
}
