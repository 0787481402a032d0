#pragma once
// Everything the inversion asks of the layers above it, in one record: the
// progress dialog, the cursor, the window text and the redraws of the
// profile window, and a stand-in for the forward calculation. The shell binds
// these at start-up; an unbound entry does nothing (the forward calculation
// then runs CALC), which is what a headless run without a screen needs. The
// Cancel button reaches the inversion through the library's abort poll
// (util::LKILLMSG), whose event peek the toolkit binds.

#include <functional>
#include <string_view>
#include <utility>

namespace model {
struct ProfileLine;
struct PolygonModel;
}  // namespace model

namespace util {
struct AxisRecord;
}

namespace calc {

// Field identifiers of the progress dialog.
inline constexpr int kStatusField = 1017;
inline constexpr int kProgressField = 1018;
inline constexpr int kLatestRmsField = 1019;
inline constexpr int kIterationField = 1020;
inline constexpr int kBestRmsField = 1027;
inline constexpr int kProgressDialog = 152;

struct InversionHost {
    // Stands in for the forward calculation (CALC) when bound, so that a
    // caller can fit any model of the data; unbound, CALC runs.
    std::function<void(model::ProfileLine& profile, int ibody)> forward;

    // Fields of the current dialog.
    std::function<void(int field, std::string_view text)> putString;
    std::function<void(int field, float value, std::string_view format)> putReal;
    std::function<void(int field, int value)> putProgress;

    // The progress dialog's life: load and select a dialog, show it at a
    // position (-1, -1 centred) with a focus field and a show type, hide it,
    // and ask its position (x, y) before it is hidden.
    std::function<void(int dialog)> loadDialog;
    std::function<void(int dialog)> selectDialog;
    std::function<void(int x, int y, int focus, int showType)> showDialog;
    std::function<void()> hideDialog;
    std::function<void(int& x, int& y)> dialogPosition;

    // Cursor shape of the current window (0 arrow, 1 hourglass) and a text
    // written at a place of it, in window units.
    std::function<void(int shape)> cursorShape;
    std::function<void(int x, int y, std::string_view text)> windowTextAt;

    // Drawing the model section and the data graph into their graphs, and
    // redrawing them after the window was exposed or resized.
    std::function<void(util::AxisRecord& axisMod, model::ProfileLine& profile,
                       model::PolygonModel& model, int nbody)>
        plotBodies;
    std::function<void(util::AxisRecord& axisDat, model::ProfileLine& profile)> plotProfile;
    std::function<void(model::ProfileLine& profile, model::PolygonModel& model, int nbody)>
        refreshModel;
    std::function<void(model::ProfileLine& profile)> refreshData;
};

// The one binding of the program.
InversionHost& inversionHost();
// Unbinds every entry.
void resetInversionHost();

// Calls one entry when it is bound.
template <typename F, typename... Args>
void callHost(const F& entry, Args&&... args) {
    if (entry) entry(std::forward<Args>(args)...);
}

}  // namespace calc
