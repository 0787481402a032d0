#pragma once
// The free parameters of a model as the inversion sees them: a vector of
// vertex coordinates and body properties, each with the step used to
// perturb it and the largest change one update may make. GETPAR collects the
// vector, PUTPAR writes it back so that locked vertices follow their leader
// and no move leaves the model illegal.

#include <vector>

#include "model/polygon_model.h"

namespace calc {

// Steps and limits, in the model's own length and property units.
struct InversionSettings {
    float xStep = 0.05f;
    float zStep = 0.05f;
    float xLimit = 1.0f;
    float zLimit = 1.0f;
    float propertyLimit = 1500.0f;
};
InversionSettings& inversionSettings();
void resetInversionSettings();

enum class ParameterKind { VertexX, VertexZ, Property };

// Parameters 1..NPAR in vector order: vertices first (X before Z), then the
// properties of the free bodies. The arrays are sized to the capacity.
class ParameterTable {
  public:
    int capacity() const { return capacity_; }
    int NPAR = 0;

    // Empties the table and sizes it for `capacity` parameters; false when
    // the storage cannot be had (the table is then empty with capacity 0).
    bool allocate(int capacity);
    void release();

    float& value(int j) { return values_[index(j)]; }
    float value(int j) const { return values_[index(j)]; }
    float step(int j) const { return steps_[index(j)]; }
    float limit(int j) const { return limits_[index(j)]; }
    ParameterKind kind(int j) const { return kinds_[index(j)]; }
    // The vertex of a vertex parameter, the body of a property parameter.
    int owner(int j) const { return owners_[index(j)]; }

    // Appends a parameter; false (nothing added) when the table is full.
    bool add(ParameterKind kind, int owner, float value, float step, float limit);

    // The values 1..NPAR, and writing them back from such a copy.
    std::vector<float> values() const;
    void setValues(const std::vector<float>& values);

  private:
    std::size_t index(int j) const;
    int capacity_ = 0;
    std::vector<float> values_, steps_, limits_;
    std::vector<ParameterKind> kinds_;
    std::vector<int> owners_;
};

// Number of free flags of the model: X and Z of every vertex, the property
// of bodies 1..NBOD (the background's flag never counts).
int countFreeFlags(const model::PolygonModel& model);

// The model's value of one parameter as it now stands.
float modelValue(const model::PolygonModel& model, ParameterKind kind, int owner);

// Collects the parameters of the model into the table (sized beforehand).
// A vertex without a leader becomes its own leader; a free follower loses
// its free flags, with a message.
void GETPAR(model::PolygonModel& model, ParameterTable& table);

// Writes the table's values into the model: vertex coordinates through
// PARCHG with their largest change, properties by a change clamped to the
// property limit; then the nesting is recomputed. With `nestingHeld` the
// caller knows the model's nesting to be current, and a write that moves no
// vertex (properties only) leaves it so without computing it again.
void PUTPAR(model::PolygonModel& model, const ParameterTable& table, bool nestingHeld = false);

// Moves coordinate `kind` (0 = X, 1 = Z) of leader vertex iv and its
// followers towards pnew by at most dmax. A move that leaves any of them
// illegal is taken back and retried with half the change, eight tries at
// most. Returns the change that stands (0 when refused). With kind 2 nothing
// moves and pnew, taken as a change, is returned clamped to dmax.
float PARCHG(model::PolygonModel& model, float pnew, float dmax, int iv, int kind);

// For parameter number ipar: when it is a vertex parameter, x and z of its
// vertex, the vertex number in ipar and its body in ib; vertex and body are
// 0 for a property parameter and for a vertex that leads others. The
// capacity bounds the count as it does for GETPAR.
void PARPNT(model::PolygonModel& model, float& x, float& z, int& ipar, int& ib, int capacity);

}  // namespace calc
