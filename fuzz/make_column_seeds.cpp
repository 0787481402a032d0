// Writes the seed corpus of the column reader's fuzzer.

#include "import_seeds.h"

int main(int argc, char** argv) {
    return import_seeds::writeSeeds(argc, argv, import_seeds::columnSeeds);
}
