#pragma once
// New bodies and layers digitised vertex by vertex with the mouse, a body
// split in two between two of its vertices, and a vertex put into an edge
// by a click in a click mode.

namespace shell {

// New Body (40040) and New Layer (40054) from the context menus.
void startDigitising(bool layer);
// A left click at (x, y) window units inside the model section.
void digitiseClick(int x, int y);
// Back Up (1247), Finish (1088) and Cancel (2) of the insertion dialog.
void backUpVertex();
void finishDigitising();
void cancelDigitising();

// Split Body (40042) waits for the second vertex; the next release ends it.
void startSplit();
void completeSplit();

// A click in a click mode with an edge, but no vertex, under the cursor:
// a vertex goes into the edge at the point nearest to (x, y).
void insertVertexAtEdge(int x, int y);

}  // namespace shell
