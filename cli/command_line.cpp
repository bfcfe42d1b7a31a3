#include "cli/command_line.h"

namespace torvi::cli {

namespace {
std::vector<std::string>& arguments() {
  static std::vector<std::string> args;
  return args;
}
}  // namespace

void remember_arguments(int argc, const char* const* argv) { arguments().assign(argv + (argc > 0 ? 1 : 0), argv + argc); }

const std::vector<std::string>& remembered_arguments() { return arguments(); }

}  // namespace torvi::cli
