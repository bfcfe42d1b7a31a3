#include "data/label_file.h"

#include <fstream>

#include "data/text_scanner.h"

namespace torvi {

bool read_label_file(Host& host, const std::string& path, int np, std::vector<std::string>& names) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    host.show_error("Cannot open the label file " + path + ".");
    return false;
  }
  TextScanner sc(in);
  std::vector<std::string> read(1);
  for (int s = 1; s <= np; ++s) {
    // A line ends before the end of the file, or holds something before it.
    if (in.rdbuf()->sgetc() == std::char_traits<char>::eof()) {
      host.show_error("The label file " + path + " holds " + std::to_string(s - 1) + " lines, but the data file has " +
                      std::to_string(np) + " samples." + "\n\r" + "It needs one label per sample, in sample order.");
      return false;
    }
    read.push_back(sc.read_line_start(kLabelLength));
    sc.skip_line();
  }
  names = std::move(read);
  return true;
}

std::string label_file_text(const std::vector<std::string>& names) {
  constexpr const char* kLineEnd = "\r\n";  // like every file the program writes
  std::string text;
  for (size_t s = 1; s < names.size(); ++s) {
    text += names[s];
    text += kLineEnd;
  }
  return text;
}

}  // namespace torvi
