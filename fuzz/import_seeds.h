#pragma once
// Seed corpora of the import fuzzers: small files of the kind each reader
// takes, valid ones and broken ones. Each make_<kind>_seeds.cpp writes one.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "zaf_fixtures.h"

namespace import_seeds {

inline void put(const std::string& folder, const std::string& name, const std::string& bytes) {
    if (!base::writeFile(folder + "/" + name,
                         std::vector<std::uint8_t>(bytes.begin(), bytes.end()))) {
        std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
        std::exit(1);
    }
}

// Six choice bytes for the columns 1..5 and 0, then the switches.
inline const std::string kColumns = std::string("\x02\x03\x04\x05\x06\x01\x00\x01", 8);

inline void xyzSeeds(const std::string& folder) {
    put(folder, "two-lines",
        kColumns +
            "/ UNIT FT\nLINE 1000N\n1 2 3 4 5\n2 3 4 5 6\n/ end\n"
            "LINE 500W\r\n1.5E-03 2.5-3.0 -7 1 2\r\n2 1.0E+02-4 8 9 1\r\n");
    put(folder, "bad-word", kColumns + "LINE 7\n1 2 3 4 5\n1 2 3 4 N/A\n");
    put(folder, "no-line", kColumns + "1 2 3 4 5\n6 7 8 9 10\nPIPELINE SURVEY\nX Y\n* 2 3 4 5\n");
}

inline void columnSeeds(const std::string& folder) {
    put(folder, "title", kColumns + "EAST NORTH Z D G\n123W 200S 1 2 3\n1.5E5,2,3,4,5\n");
    put(folder, "tabs", kColumns + "1\t2\t3\t4\t5\n6 7\n12345678901 2 3 4 *\n");
}

inline std::string mogText(int stations) {
    std::string t = "NAME LINE12AB  MAGN  1000.000  2000.000\n";
    t += "     First title line                    CLIENT1234\n";
    t += "     Second title                        ABCDE\n";
    t += "     Third\n     Fourth\n";
    t += "          1.500     2.250    -3.000      4444  M        FT\n";
    t += "      52000.000    65.000    -3.500    45.000\n";
    t += "  No.  DISTANCE\n";
    for (int i = 1; i <= stations; ++i) {
        char line[100];
        std::snprintf(line, sizeof line, "%5d%13.4f%13.4f%13.4f%13.4f%13.4f%13.4f\n", i, 25.0 * i,
                      1000.0 + i, 2000.0, 0.5 * i, 120.5, 121.5);
        t += line;
    }
    return t;
}

inline void mogSeeds(const std::string& folder) {
    put(folder, "three", mogText(3));
    put(folder, "short", mogText(0).substr(0, 120));
    std::string bad = mogText(2);
    bad[bad.size() - 20] = 'X';
    put(folder, "letter", bad);
}

inline void zafSeeds(const std::string& folder) {
    for (const char* tag :
         {"VER3", "VER5", "VER7", "VER8", "VERA", "VERB", "VERD", "VERF", "VERG"}) {
        files_test::ZafSpec spec;
        spec.tag = tag;
        spec.bodies = 2;
        spec.labels = {"ONE", "TWO"};
        const auto bytes = files_test::zafFile(spec);
        put(folder, tag, std::string(bytes.begin(), bytes.end()));
    }
}

// Runs WRITE on the corpus folder given on the command line.
template <typename Write>
int writeSeeds(int argc, char** argv, Write write) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    write(std::string(argv[1]));
    return 0;
}

}  // namespace import_seeds
