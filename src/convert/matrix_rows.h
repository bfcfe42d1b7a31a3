#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "util/line_reader.h"

namespace torvi {

// A square matrix of reals in a text file, read row by row: row i is line i,
// its first i - 1 numbers are the values below the diagonal, and whatever
// follows them on the line (diagonal, upper triangle) is ignored. Full
// matrices and lower triangles with or without the diagonal all read alike.
class MatrixRows {
 public:
  MatrixRows(std::istream& in, std::string path);

  // Reads the next line and its first `count` numbers into row[0..count).
  // Returns how many were read; when that is fewer than `count`, or the line
  // is missing, problem() says what is wrong, naming the file and the line.
  int64_t read(int64_t count, std::vector<double>& row);

  bool failed() const { return !problem_.empty(); }
  const std::string& problem() const { return problem_; }
  int64_t line_number() const { return lines_.line_number(); }

 private:
  LineReader lines_;
  std::string path_;
  std::string problem_;
};

// A number as a matrix file writes it (sign, digits, point, exponent); false
// for anything else, infinities and "nan" included.
bool parse_real(std::string_view token, double& value);

// The size n of the matrix in the first file: the count of numbers on its
// first line when it holds two or more (a full matrix); otherwise it is a
// lower triangle and n is its number of lines, up to the last that is not
// blank. -1 with `problem` set when line 1 holds text or the file is empty.
int64_t matrix_size(std::istream& in, const std::string& path, std::string& problem);

}  // namespace torvi
