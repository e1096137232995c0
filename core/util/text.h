// Text helpers shared by the store and the rules.
#pragma once

#include <string>
#include <string_view>

namespace tavrel::text {

// The first `width` characters (code points) of a UTF-8 text; a stored text field holds no more.
std::string cutToWidth(std::string_view text, int width);

// Number of characters (code points) of a UTF-8 text.
int characterCount(std::string_view text);

}  // namespace tavrel::text
