#pragma once
// Vertex locks and body moves. A follower vertex sits on its leader and moves
// whenever the leader moves; locks are one level deep. Every move ends by
// testing legality into the session's model-illegal flag; the moves never
// refuse or undo anything themselves.

#include "model/polygon_model.h"

namespace model {

struct ProfileLine;

// Some vertex other than iv follows iv.
bool LOCKSPRESENT(const PolygonModel& model, int iv);
bool LISLEADER(const ProfileLine& profile, int iv);
// Some vertex of another body follows a vertex of body ib.
bool LOCKSFROMOUTSIDE(const PolygonModel& model, int ib);
// Some vertex of body ib follows a vertex outside its run.
bool LOCKSTOOUTSIDE(const PolygonModel& model, int ib);

// Moves vertex iv and its followers.
void MOVELOCKS(PolygonModel& model, int iv, float dx, float dz);
// Moves only the followers of iv.
void MOVELOCKSONLY(PolygonModel& model, int iv, float dx, float dz);
// Moves body ib and the followers of its vertices in other bodies.
void MOVEBODY(PolygonModel& model, int ib, float dx, float dz);
// Turns body ib about its pivot so that vertex iv turns towards the point it
// was dragged to (iv moved by dx, dz).
void ROTATEBODY(PolygonModel& model, int ib, int iv, float dx, float dz);

}  // namespace model
