// A stored window design as the progress bar sees it: named integers, each with a default.
#pragma once

#include <cstdint>
#include <string>

namespace varnic {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // The stored value, or `defaultValue` when the design does not hold the name.
    virtual std::int32_t ReadProperty(const std::string& name, std::int32_t defaultValue) const = 0;
    // Stores the value; a value equal to `defaultValue` is not stored (and replaces nothing).
    virtual void WriteProperty(const std::string& name, std::int32_t value, std::int32_t defaultValue) = 0;
};

}  // namespace varnic
