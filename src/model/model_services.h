#pragma once
// What the model layer asks of the layers above it: message boxes, the
// profile window, the save prompt, the finding dialogs of the model check, the
// debug log and the Gaussian deviates. The application binds these at start-up;
// unbound, each one does nothing (a prompt counts as No, a finding dialog as
// OK), which is also what a headless run without a screen needs.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace model {

// One finding of the model check, as the finding dialogs show it.
struct ModelFinding {
    int reason = 0;          // 1 topography, 2 body edge, 3 partly inside another body
    int body = 0;            // body under test
    int crossedBody = 0;     // body of the crossed edge, or the containing body (reason 3)
    float x[3] = {0, 0, 0};  // vertex, other vertex, third vertex (reason 3)
    float z[3] = {0, 0, 0};
    float edgeX[2] = {0, 0}, edgeZ[2] = {0, 0};  // crossed edge (reasons 1, 2)
    float atX = 0, atZ = 0;                      // intersection (reasons 1, 2)
};

struct ModelServices {
    // The library's information box with an OK button.
    std::function<void(std::string_view text)> message;
    // Closes the profile window (the view stores its placement first).
    std::function<void()> closeProfileWindow;
    // Makes the main window the current output window.
    std::function<void()> selectMainWindow;
    // "Save Changes To" with the profile name; Yes sets answer, Cancel cancelled.
    std::function<void(std::string_view name, bool& answer, bool& cancelled)> saveChangesPrompt;
    // Shows one finding of the model check modally; answers the closing button
    // (1 OK, 2 Cancel).
    std::function<int(const ModelFinding& finding)> showFinding;
    // Hides the finding dialogs when the check ends.
    std::function<void()> hideFindings;
    // Appends one line to the program's debug log.
    std::function<void(std::string_view line)> debugLog;
    // Next standard normal deviate; the seed is kept by the caller.
    std::function<float(std::int16_t& seed)> gaussianDeviate;
    // The pen plotter's number text: x left-justified with nd decimals into
    // text(1:m); nd becomes the length written. Unbound, a plain fixed-point
    // text stands in.
    std::function<void(float x, std::span<char> text, int m, int& nd)> numberText;
};

ModelServices& modelServices();

// Convenience calls that do nothing while a service is unbound.
void showMessage(std::string_view text);

}  // namespace model
