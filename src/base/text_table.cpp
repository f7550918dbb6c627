#include "base/text_table.h"

namespace varnic {

// A placeholder is '{', one digit from 1 to 9, '}'; any other '{' is text.
void AppendFilled(std::string& out, std::string_view text, std::initializer_list<std::string_view> values) {
    std::size_t from = 0;
    for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        if (open + 2 >= text.size() || text[open + 1] < '1' || text[open + 1] > '9' || text[open + 2] != '}') continue;
        out += text.substr(from, open - from);
        const auto index = static_cast<std::size_t>(text[open + 1] - '1');
        if (index < values.size()) out += values.begin()[index];
        from = open + 3;
    }
    out += text.substr(from);
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    AppendFilled(filled, text, values);
    return filled;
}

}  // namespace varnic
