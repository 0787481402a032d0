#include "model/model_services.h"

namespace model {

ModelServices& modelServices() {
    static ModelServices services;
    return services;
}

void showMessage(std::string_view text) {
    if (auto& f = modelServices().message) f(text);
}

}  // namespace model
