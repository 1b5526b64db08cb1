#include "platform/version.h"

#include "platform/version_resource.h"

#include <algorithm>

namespace platform {

std::string ProductVersionResource() {
    return TW_PRODUCT_VERSION;
}

std::string DeriveVersionText(const std::string& productVersion) {
    if (productVersion.empty())
        return productVersion;
    std::string text = productVersion.substr(0, 1) + "." + productVersion.substr(1);
    std::erase_if(text, [](char c) { return c == ',' || c == ' '; });
    return text.substr(0, 4);
}

std::string ProgramVersion() {
    return DeriveVersionText(ProductVersionResource());
}

} // namespace platform
