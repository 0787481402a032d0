#include "files/model_file.h"

#include "files/toolkit_services.h"
#include "model/body_nesting.h"

namespace files {

namespace {
constexpr std::string_view kFilter = "Kervo/Pelk-GM ASCII Data File|*.MDL|";
constexpr std::string_view kTitle = "Kervo/Pelk-GM ASCII Model File";

bool blank(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}
}  // namespace

int NOFSET(const model::PolygonModel& model, int vertex) {
    int position = 0, body = 0;
    model::FINDIB(vertex, position, body, model);
    int layers = 0;
    for (int b = 1; b < body; ++b)
        if (model.LAYER.has(b) && model.LAYER(b)) ++layers;
    return 4 * layers;
}

void MODAIO(const model::ProfileLine& profile, model::PolygonModel& model, char mode,
            std::string& fileName, int& status) {
    status = -1;
    if (blank(fileName)) {
        FileSelection request{std::string(kFilter),
                              mode == 'R' ? kSelectOpenFlags : kSelectSaveFlags, "",
                              std::string(kTitle)};
        auto chosen = toolkitServices().selectFile(request);
        if (!chosen || blank(*chosen)) return;
        fileName = *chosen;
    }
    auto end = fileName.find_last_not_of(' ');
    std::string name = fileName.substr(0, end + 1);
    if (mode == 'R')
        status = readModelFile(name, model) ? 0 : 1;
    else if (mode == 'W')
        status = writeModelFile(name, profile, model) ? 0 : 1;
}

}  // namespace files
