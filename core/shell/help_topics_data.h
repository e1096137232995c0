// The help texts the program ships, as the JSON text of resources/help/topics.json: a list of
// {"code", "title", "text"} objects. The build embeds the file, so every program and tool has it.
#pragma once

#include <string_view>

namespace tavrel::shell {

std::string_view shippedHelpTopicsJson();

}  // namespace tavrel::shell
