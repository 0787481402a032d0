#pragma once
// The forward calculation of one profile: the gravity or magnetic anomaly of
// its polygon model at every station, the regional field, the levelling of
// the synthetics against the data and the misfit.

#include <vector>

#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace calc {

// IBODY 0 (or any value beyond the body count) computes all bodies; +k adds
// the anomaly of body k to the synthetics already held, -k subtracts it.
void CALC(model::ProfileLine& PROFILE, int IBODY);

// Root-mean-square misfit of the data against the synthetics into both misfit
// fields; the synthetics become valid and the profile unsaved. The second
// argument is not read.
void CALC_ER(model::ProfileLine& PROFILE, int unused = 0);

// Moves the four closing vertices of every layer far out (+-1.0E15) and marks
// the model's layers as extended.
void EXTENDLAYERS(model::ProfileLine& PROFILE);

// The older twin of CALC: magnetics only for "Magnetics Data      ", and a
// profile direction too close to the strike is turned to the perpendicular of
// the folded strike with a warning.
void RECALC(model::ProfileLine& PROFILE, int IBODY);

// Extends the layers and closes the topography only to a finite distance:
// 1000 times the model's horizontal span (10 times the station span when the
// model has no span), sets the layers-extended flag.
void CNTRCI(model::ProfileLine& PROFILE);

// The anomaly of each body of a profile's model at every station, kept so
// that a model changed in a few bodies is calculated again in those alone:
// the inversion's derivatives move one parameter, that is one body, at a
// time. The synthetics are the same as CALC's to the last bit, since the
// stations' sums take the same terms in the same order.
class BodyTerms {
  public:
    // CALC(profile, 0), keeping each body's terms (nothing is kept when the
    // calculation is refused).
    void calculate(model::ProfileLine& profile);
    // CALC(profile, 0) of the model as it now stands, which differs from the
    // one last calculated only in the bodies `changed`.
    void recalculate(model::ProfileLine& profile, const std::vector<int>& changed);

  private:
    bool valid_ = false;
    std::vector<std::vector<double>> terms_;  // by body number, per station
    std::vector<bool> clipped_;
};

// The bodies of `after` whose anomaly differs from theirs in `before`: moved
// vertices, another property or strike extent, or a parent with another
// property. `everything` is set (and nothing listed) when the models differ
// in more than their bodies' shapes and properties.
std::vector<int> changedBodies(const model::PolygonModel& before, const model::PolygonModel& after,
                               bool& everything);

// Difference of two directions in degrees, 0..180.
float AZDIF(float A, float B);

// Signed area of the closed polygon X/Z(1..N) from the cross products of its
// consecutive vertices taken about (X0, Z0); positive counter-clockwise.
float BODCRS(float X0, float Z0, const float* X, const float* Z, int N);

}  // namespace calc
