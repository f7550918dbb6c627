// A design held in memory, and the one design that both programs give their progress bar.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "controls/progressbar/property_bag.h"

namespace varnic {

class StoredDesign final : public PropertyBag {
public:
    StoredDesign() = default;
    StoredDesign(std::initializer_list<std::pair<const std::string, std::int32_t>> entries) : entries_(entries) {}

    std::int32_t ReadProperty(const std::string& name, std::int32_t defaultValue) const override;
    void WriteProperty(const std::string& name, std::int32_t value, std::int32_t defaultValue) override;

    const std::map<std::string, std::int32_t>& Entries() const { return entries_; }

private:
    std::map<std::string, std::int32_t> entries_;
};

// The design of kelvo's bar1 and tarnel's pb1: only ProgressLook 6 (metallic orange) is
// stored; the other properties keep their defaults.
StoredDesign HostBarDesign();

}  // namespace varnic
