// Tables of the texts a user sees, each text with its Chinese and its English form and asked
// for by a name that says what it is for. Every subsystem keeps one: an enum of names ending
// in kCount, and one row per name in the enum's order. A table is checked as it is compiled:
// a row out of order, a name without a row, or a row without its Chinese or its English text
// stops the build.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/language.h"

namespace varnic {

template <typename Name>
struct TextRow {
    Name name;
    const char* chinese;
    const char* english;
};

// The index of the first row that is out of place or lacks a text; N when every row is whole.
template <typename Name, std::size_t N>
constexpr std::size_t FirstFaultyRow(const TextRow<Name> (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        const TextRow<Name>& row = rows[i];
        if (static_cast<std::size_t>(row.name) != i || !row.chinese || !*row.chinese || !row.english || !*row.english)
            return i;
    }
    return N;
}

template <typename Name, std::size_t N>
class TextTable {
public:
    static_assert(N == static_cast<std::size_t>(Name::kCount), "one row for every name");

    consteval explicit TextTable(const TextRow<Name> (&rows)[N]) {
        if (FirstFaultyRow(rows) != N) throw "a text row is out of order or lacks its Chinese or English text";
        for (std::size_t i = 0; i < N; ++i) rows_[i] = rows[i];
    }

    std::string_view operator()(Name name, Language language) const {
        const TextRow<Name>& row = rows_[static_cast<std::size_t>(name)];
        return language == Language::kEnglish ? row.english : row.chinese;
    }

private:
    TextRow<Name> rows_[N] = {};
};

// The text with {1}, {2}, ... replaced by the values in order; the values are copied as they
// are, so a value holding "{2}" stays so.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> values);
// The same, appended to `out` (for texts remade many times, which keep their buffer).
void AppendFilled(std::string& out, std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace varnic
