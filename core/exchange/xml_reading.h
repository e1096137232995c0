// What the readers of XML timetabling files share: loading the text with a message that says what
// is wrong, and a fault that names the element it is about.
#pragma once

#include <pugixml.hpp>
#include <string>

#include "core/util/result.h"

namespace tavrel::exchange {

// A fault in the file; the readers throw it deep inside and return it as the import's refusal.
struct SourceFault {
  std::string message;
};

[[noreturn]] void fault(const std::string& message);

// Parses `text`; a text that is not XML, or whose root element is not `rootName`, is refused with a
// message that says which (`formatName` names the format: "an XHSTT file").
Status loadXml(pugi::xml_document& document, const std::string& text, const char* rootName,
               const std::string& formatName);

// `<Tag Id="x">` or `<Tag>` for messages.
std::string describe(const pugi::xml_node& node);

// The trimmed text of an element.
std::string trimmedText(const pugi::xml_node& node);
// The trimmed text of a child element, "" when it is missing.
std::string childText(const pugi::xml_node& node, const char* name);
// The whole number a child element holds; `fallback` when it is missing; a fault when it is not one.
int childNumber(const pugi::xml_node& node, const char* name, int fallback);

}  // namespace tavrel::exchange
