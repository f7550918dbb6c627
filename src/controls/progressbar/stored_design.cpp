#include "controls/progressbar/stored_design.h"

namespace varnic {

std::int32_t StoredDesign::ReadProperty(const std::string& name, std::int32_t defaultValue) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? defaultValue : found->second;
}

StoredDesign HostBarDesign() { return StoredDesign{{"ProgressLook", 6}}; }

}  // namespace varnic
