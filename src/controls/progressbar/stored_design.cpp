// A design held in memory: a value equal to its default is left out, as in a saved design.
#include "controls/progressbar/stored_design.h"

namespace varnic {

std::int32_t StoredDesign::ReadProperty(const std::string& name, std::int32_t defaultValue) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? defaultValue : found->second;
}

void StoredDesign::WriteProperty(const std::string& name, std::int32_t value, std::int32_t defaultValue) {
    if (value == defaultValue)
        entries_.erase(name);
    else
        entries_[name] = value;
}

StoredDesign HostBarDesign() { return StoredDesign{{"ProgressLook", 6}}; }

}  // namespace varnic
