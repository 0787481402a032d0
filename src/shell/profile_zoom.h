#pragma once
// The zoom box of the profile window: the graph holding the box's centre
// takes the box as its new range, and every graph keeps one distance axis.

namespace shell {

// Zooms with the box from the anchor to the box corner.
void zoomProfile();

}  // namespace shell
