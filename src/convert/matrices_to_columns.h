#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "convert/conversion_progress.h"
#include "convert/text_sink.h"

namespace torvi {

// One matrix file open for reading, and its name in the columnar file.
struct MatrixInput {
  std::istream* in;
  std::string path;
};

// Writes the columnar file of `inputs`, matrices of size n: a comment line,
// the number of pairs n(n-1)/2 in width 10, a tab and the number of matrices
// in width 6, a line "var<k> (<file name>)" per matrix from k = 0, then one
// line per pair (2,1), (3,1), (3,2), (4,1), ... holding each matrix's value
// in 8:5 followed by a tab. Returns the problem that stopped it (empty when
// none); the lines completed before the failing value stay written.
std::string write_columns(const std::vector<MatrixInput>& inputs, int64_t n, TextSink& out,
                          ConversionProgress* progress = nullptr);

}  // namespace torvi
