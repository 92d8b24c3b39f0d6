// binform: prints a 32-bit integer as 32 binary digits in groups of four.
#include "shared/integer_form.h"

int main(int argc, char** argv) {
    return integerform::run(argc, argv, integerform::Notation::Binary);
}
