// A window's stored design as the progress bar reads it: named integers, each read with a
// default; and the one design that both programs give their progress bar.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

namespace varnic {

class StoredDesign {
public:
    StoredDesign(std::initializer_list<std::pair<const std::string, std::int32_t>> entries = {}) : entries_(entries) {}

    // The stored value, or `defaultValue` when the design does not hold the name.
    std::int32_t ReadProperty(const std::string& name, std::int32_t defaultValue) const;

private:
    std::map<std::string, std::int32_t> entries_;
};

// The design of kelvo's bar1 and tarnel's pb1: only ProgressLook 6 (metallic orange) is
// stored; the other properties keep their defaults.
StoredDesign HostBarDesign();

}  // namespace varnic
