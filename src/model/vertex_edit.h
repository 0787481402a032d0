#pragma once
// Inserting and deleting single vertices of the shared vertex list, keeping
// the body ranges and every leader link pointing at the same vertex.

#include <string_view>

#include "model/polygon_model.h"

namespace model {

// Inserts (x, z) into `body` as the new vertex after + 1 (after is a global
// vertex index within the body; after = IV2(body) puts it on the closing
// edge). The new vertex is free and fixed. When storage cannot be had the
// model is left unchanged and false is returned.
bool ADDVERT(PolygonModel& model, float x, float z, int body, int after);

// Removes `vertex` of `body`; followers of it become their own leaders. A body
// is never left with fewer than three vertices, a layer never without one
// vertex of its own or without any of its four closing vertices: such a
// deletion is refused with a message and false. `vertex` is 0 on return.
bool DELETEVERTEX(PolygonModel& model, int body, int& vertex);

// The message that refuses taking `removed` vertices out of `body` (a body
// keeps three, a layer one of its own besides its four closing ones), empty
// when they may go.
std::string_view tooFewVertices(const PolygonModel& model, int body, int removed);

// The deletion itself, without the minimum-size rule (for removing a whole body).
void removeVertex(PolygonModel& model, int body, int vertex);

}  // namespace model
