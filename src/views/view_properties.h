#pragma once
// The View Properties dialogs of the map (176) and of the profile window
// (193): shown semi-modeless by a setup routine; every push button and field
// change that arrives while one is shown goes to its check routine, which
// keeps the inch and centimetre fields in step, writes the values back on
// Apply and OK and closes the dialog on OK and Cancel. Redrawing after Apply
// or OK is the caller's work.

#include <array>
#include <string_view>

#include "toolkit/core/event_queue.h"
#include "util/axis_record.h"
#include "views/axis_pages.h"

namespace views {

struct ViewPropertiesState {
    bool ViewDialogInches = false;  // lengths are edited in inches (else cm)
    bool ViewDialogOpen = false;    // a View Properties dialog is shown
    // The axis lengths (plot inches, signed) when the dialog was set up.
    float Lx = 0.0f, Ly = 0.0f, Ly2 = 0.0f;
    int rememberedField = 0;  // the field that last received the focus
    void reset() { *this = ViewPropertiesState{}; }
};

ViewPropertiesState& viewPropertiesState();

// The map's titles, heights and offsets: easting (horizontal), northing.
struct MapTitles {
    AxisTitle& easting;
    AxisTitle& northing;
    float &HIMAPH, &OFFMAPH, &HIMAPV, &OFFMAPV;
};

// The profile window's: distance and data axes of the data graph, the
// elevation axis of the model section.
struct ProfileTitles {
    AxisTitle& distance;
    AxisTitle& data;
    AxisTitle& elevation;
    float &HIDATH, &OFFDATH, &HIDATV, &OFFDATV, &HIMODV, &OFFMODV;
};

// The data-graph record first, the model-section record second.
using AxisPair = std::array<util::AxisRecord, 2>;

void VIEWPROPSETUP(util::AxisRecord& mapAxis, const MapTitles& titles,
                   std::string_view eastingCaption, std::string_view northingCaption);
// Status 0 after OK or Apply, -1 after Cancel, unchanged otherwise.
void VIEWPROPCHECK(int type, const tk::EventRecord& event, util::AxisRecord& mapAxis,
                   const MapTitles& titles, int& status);

void VIEWPROPSETUP3(AxisPair& axes, const ProfileTitles& titles, std::string_view distanceCaption,
                    std::string_view dataCaption, std::string_view elevationCaption);
void VIEWPROPCHECK3(int type, const tk::EventRecord& event, AxisPair& axes,
                    const ProfileTitles& titles, int& status);

// Whether an event belongs to the dialog or one of its pages.
bool isViewPropertiesEvent(const tk::EventRecord& event);

}  // namespace views
