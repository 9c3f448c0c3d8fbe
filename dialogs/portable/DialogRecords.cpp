#include "dialogs/portable/DialogRecords.h"

namespace tesmar {

std::string ChosenPath(std::string_view buffer) {
  std::string_view path = buffer.substr(0, buffer.find('\0'));
  const size_t first = path.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = path.find_last_not_of(' ');
  return std::string(path.substr(first, last - first + 1));
}

} // namespace tesmar
