#pragma once
// Sibling binary files made to order for the tests, item by item in the
// order and sizes of each version.

#include <cstdint>
#include <string>
#include <vector>

namespace files_test {

struct ZafSpec {
    std::string tag = "VERG";
    std::string key = "MAGN";
    int stations = 3;
    int bodies = 1;         // triangles, three vertices each
    int extraVertices = 0;  // added to the last body
    std::vector<std::string> labels = {"ABCDE"};
    bool synthetics = true;  // flag byte 1
    bool sensorMeasured = true, fromSeaLevel = false;
    float tieEasting = 100.0f;
    std::int16_t unitsCode = 3;
    std::vector<std::uint16_t> extraCounts = {2, 1, 1, 3};
};

std::vector<std::uint8_t> zafFile(const ZafSpec& spec);

// Version number of a tag as the reader numbers them (2 .. 16).
int zafVersionOf(const std::string& tag);

}  // namespace files_test
