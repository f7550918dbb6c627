// The memory areas every clean empties besides the working sets, as the user chose them, and
// the file "Areas.ini" beside the program that keeps the choice: one line per chosen area, its
// switch name without the '-' ("standby"), in the order the areas are emptied.
#pragma once

#include <array>
#include <string>

#include "base/line_file.h"
#include "cleaner/memory_areas.h"

namespace varnic {

class AreaChoice {
public:
    bool Has(MemoryArea area) const { return chosen_[static_cast<std::size_t>(area)]; }
    void Set(MemoryArea area, bool chosen) { chosen_[static_cast<std::size_t>(area)] = chosen; }
    friend bool operator==(const AreaChoice&, const AreaChoice&) = default;

private:
    std::array<bool, std::size(kMemoryAreas)> chosen_{};
};

// The choice the file holds. A missing, unreadable or odd file (a line that names no area)
// chooses nothing: the working sets alone, as kelvo has always cleaned. Blank lines and the
// blanks around a name are ignored.
AreaChoice ReadAreaChoice(LineFiles& files, const std::string& path);
// Replaces the file in one go (the file port writes beside it and moves it over).
bool WriteAreaChoice(LineFiles& files, const std::string& path, const AreaChoice& choice);

// empty.exe's command line for a clean: "empty.exe  *" exactly as always when nothing is
// chosen, followed by " -name" for each chosen area.
std::string CleanCommandLine(const AreaChoice& choice);

}  // namespace varnic
