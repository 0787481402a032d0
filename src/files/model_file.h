#pragma once
// The ASCII model file (*.MDL): the polygon model of one profile as keyword
// lines, a background block and, per body, a property block and its vertex
// lines with free flags and locks. Layers are written without their four
// closing vertices, and vertex numbers count the file's vertices only.

#include <string>
#include <string_view>
#include <vector>

#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace files {

// Reads (mode 'R') the file into `model`, replacing its bodies, or writes
// (mode 'W') the profile's model. A blank name asks for one with the file
// selector and receives the chosen path. status: -1 when nothing was done,
// 0 after a successful read or write, 1 after a failure, which has been
// reported and leaves the model (or the file on disk) as it was.
void MODAIO(const model::ProfileLine& profile, model::PolygonModel& model, char mode,
            std::string& fileName, int& status);

// 4 times the number of layers before the body that holds vertex `vertex`:
// the distance between the model's numbering of a vertex and the file's.
int NOFSET(const model::PolygonModel& model, int vertex);

// The two halves, for callers that have a name already.
bool readModelFile(const std::string& fileName, model::PolygonModel& model);
// Reads the text of a model file (messages name no file).
bool readModelText(std::string_view text, model::PolygonModel& model);
bool writeModelFile(const std::string& fileName, const model::ProfileLine& profile,
                    const model::PolygonModel& model);

// The lines of the file for a profile and its model (without line ends).
std::vector<std::string> modelFileLines(const model::ProfileLine& profile,
                                        const model::PolygonModel& model);

}  // namespace files
