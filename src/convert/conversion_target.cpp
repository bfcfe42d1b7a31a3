#include "convert/conversion_target.h"

#include <filesystem>
#include <system_error>

namespace torvi {

namespace {

size_t extension_start(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path.size();
  return dot;
}

}  // namespace

std::string extension_of(const std::string& path) { return path.substr(extension_start(path)); }

std::string without_extension(const std::string& path) { return path.substr(0, extension_start(path)); }

bool same_file(const std::string& source, const std::string& target) {
  std::error_code ec;
  return std::filesystem::equivalent(source, target, ec) && !ec;
}

std::optional<std::string> choose_new_file(Host& host, const std::string& title, const std::string& proposed,
                                           bool& asked) {
  std::error_code ec;
  asked = std::filesystem::exists(proposed, ec) || ec;
  if (!asked) return proposed;
  return host.ask_new_file(title, proposed);
}

}  // namespace torvi
