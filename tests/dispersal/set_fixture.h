#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "dispersal/genotype_set.h"
#include "dispersal/messages.h"

namespace torvi::testing {

// A set read from data-file text: "np nl nu 2", nl name lines, then each
// line of `records` ("sample code code ...").
inline dispersal::GenotypeSet set_of(int np, int nl, const std::vector<std::string>& records, int nu = 99) {
  std::string text = std::to_string(np) + " " + std::to_string(nl) + " " + std::to_string(nu) + " 2\n";
  for (int l = 1; l <= nl; ++l) text += "loc" + std::to_string(l) + "\n";
  for (const std::string& r : records) text += r + "\n";
  std::istringstream in(text);
  return dispersal::read_set(in, "set.dat");
}

// The message of the InputRefused that `read` throws, or "" when it reads.
template <class Read>
std::string refusal_of(Read&& read) {
  try {
    read();
  } catch (const dispersal::InputRefused& e) {
    return e.what();
  }
  return "";
}

}  // namespace torvi::testing
