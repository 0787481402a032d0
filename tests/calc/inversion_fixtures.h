#pragma once
// Small profiles and models for the inversion tests, a recorder bound to the
// inversion host, and scripted events for the abort poll.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/profile_line.h"

namespace inversion_test {

using Outline = std::vector<std::pair<float, float>>;

// A square with corners (x0, z0) and (x0 + size, z0 - size) (z is elevation).
Outline square(float x0, float z0, float size);

// A model of the given bodies below a flat surface at elevation 0 from
// x = -1000 to 1000: every vertex its own leader and fixed, body b with
// property 0.1 b, nesting and areas computed.
model::PolygonModel makeModel(const std::vector<Outline>& bodies);

// A profile of nsta stations at x = 1..nsta on the surface, gravity in
// kilometres, data 0 and synthetics 0, with the given model.
model::ProfileLine makeProfile(int nsta, model::PolygonModel model);

// Misfit of the synthetics as the forward calculation leaves it.
void computeRms(model::ProfileLine& profile);

// What the inversion showed and drew.
struct HostLog {
    std::vector<std::string> statuses;         // status field texts
    std::vector<std::string> iterations;       // iteration field texts
    std::vector<std::string> messages;         // information boxes
    std::vector<std::string> warnings;         // warning boxes
    std::vector<std::pair<int, float>> reals;  // (field, value)
    std::vector<int> progress;
    std::vector<int> cursor;
    std::vector<std::string> windowTexts;
    int forwardCalls = 0;
    int plotBodies = 0, plotProfile = 0, refreshModel = 0, refreshData = 0;
    int loads = 0, shows = 0, hides = 0;
    std::vector<int> showTypes;
};

using Forward = std::function<void(model::ProfileLine& profile)>;

// Binds every entry of the inversion host to the log; the forward
// calculation is `forward` (counted), or the real one when it is empty. Forgets the message boxes
// shown.
void bindHost(HostLog& log, Forward forward);

// The abort poll sees types[k] at its k-th look (from 0), nothing after.
// Answers a counter of the looks taken.
std::shared_ptr<int> scriptEvents(std::vector<int> types);

// Texts of the library's information boxes and of its warning boxes shown
// since the last reset, oldest first.
std::vector<std::string> informationBoxes();
std::vector<std::string> warningBoxes();

// Unbinds the host and the event peek, clears the abort latch and the
// inversion's settings.
void unbindAll();

}  // namespace inversion_test
