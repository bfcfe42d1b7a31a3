#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvi {

// What the Options menu chose for the data files of a Run, in the numbering
// of the file that was opened. The flags take effect only while their menu
// item carries its check mark.
struct Selection {
  bool loci_checked = false;     // "Loci to use"
  bool samples_checked = false;  // "Samples to use"
  // [1..nl] and [1..np]; index 0 unused. A number beyond a vector counts as
  // selected, so a file with more samples or loci than the one the choice was
  // made on keeps the extra ones.
  std::vector<uint8_t> locus_selected;
  std::vector<uint8_t> sample_selected;
  // Sample labels [1..np] from a label file ("Label file for pops"); empty
  // entries when none was read.
  std::vector<std::string> sample_names;

  bool locus_kept(int l) const { return kept(locus_selected, l); }
  bool sample_kept(int s) const { return kept(sample_selected, s); }

  // Back to the state after Open: no mark, every flag set for np samples
  // and nl loci. Labels stay (they last until the program ends).
  void reset(int np, int nl) {
    loci_checked = samples_checked = false;
    locus_selected.assign(static_cast<size_t>(nl) + 1, 1);
    sample_selected.assign(static_cast<size_t>(np) + 1, 1);
  }

 private:
  static bool kept(const std::vector<uint8_t>& flags, int i) {
    return static_cast<size_t>(i) >= flags.size() || flags[static_cast<size_t>(i)] != 0;
  }
};

}  // namespace torvi
