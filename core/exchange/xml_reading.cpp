#include "core/exchange/xml_reading.h"

#include <cctype>

namespace tavrel::exchange {

void fault(const std::string& message) { throw SourceFault{message}; }

Status loadXml(pugi::xml_document& document, const std::string& text, const char* rootName,
               const std::string& formatName) {
  const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  if (!parsed) {
    return Error{"The file is not XML: " + std::string(parsed.description()) + " at byte " +
                 std::to_string(parsed.offset) + "."};
  }
  const std::string root = document.document_element().name();
  if (root != rootName) {
    return Error{"The root element is <" + root + ">, not <" + rootName + ">: the file is not " + formatName + "."};
  }
  return {};
}

std::string describe(const pugi::xml_node& node) {
  const pugi::xml_attribute id = node.attribute("Id");
  return "<" + std::string(node.name()) + (id ? " Id=\"" + std::string(id.value()) + "\"" : std::string()) + ">";
}

std::string childText(const pugi::xml_node& node, const char* name) { return trimmedText(node.child(name)); }

std::string trimmedText(const pugi::xml_node& node) {
  std::string value = node.text().get();
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  while (!value.empty() && blank(value.back())) value.pop_back();
  std::size_t start = 0;
  while (start < value.size() && blank(value[start])) ++start;
  return value.substr(start);
}

int childNumber(const pugi::xml_node& node, const char* name, int fallback) {
  const std::string value = childText(node, name);
  if (value.empty()) return fallback;
  try {
    std::size_t used = 0;
    const int number = std::stoi(value, &used);
    if (used == value.size()) return number;
  } catch (const std::exception&) {
  }
  fault(describe(node) + ": <" + name + "> holds \"" + value + "\", which is not a whole number.");
}

}  // namespace tavrel::exchange
