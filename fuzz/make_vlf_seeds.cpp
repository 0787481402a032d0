// Writes the seed corpus of the VLF reader's fuzzer: a survey of three lines
// out of order, and one whose reading counts overrun the file.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"

namespace {

void put(const std::string& path, const std::string& text) {
    if (!base::writeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    put(folder + "/three-lines",
        "Survey of the north field, May\n100N\n16.4 KHZ\n2\n10 1 2\n20 3 4\n"
        "200N\n17.0 KHZ\n2\n20 5 6\n5 7 8\n150N\n18.0 KHZ\n1\n20 9 10\n");
    put(folder + "/short-count", "Short\n100N\n16.4 KHZ\n9\n10 1 2\n");
    return 0;
}
