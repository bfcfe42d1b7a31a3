#include "convert/matrices_to_columns.h"

#include <filesystem>

#include "convert/matrix_rows.h"
#include "report/fixed_format.h"
#include "report/report_text.h"

namespace torvi {

namespace {

constexpr const char* kCommentLine = "Put here any comments you want";
constexpr int kPairsWidth = 10, kMatricesWidth = 6;
constexpr int kValueWidth = 8, kValueDecimals = 5;

std::string head(const std::vector<MatrixInput>& inputs, int64_t n) {
  std::string text = std::string(kCommentLine) + kEol + integer(n * (n - 1) / 2, kPairsWidth) + col_sep +
                     integer(static_cast<int64_t>(inputs.size()), kMatricesWidth) + kEol;
  for (size_t k = 0; k < inputs.size(); ++k)
    text += "var" + std::to_string(k) + " (" + std::filesystem::path(inputs[k].path).filename().string() + ")" +
            kEol;
  return text;
}

}  // namespace

std::string write_columns(const std::vector<MatrixInput>& inputs, int64_t n, TextSink& out,
                          ConversionProgress* progress) {
  std::vector<MatrixRows> files;
  files.reserve(inputs.size());
  for (const MatrixInput& input : inputs) files.emplace_back(*input.in, input.path);
  out.write(head(inputs, n));

  std::vector<std::vector<double>> rows(inputs.size(), std::vector<double>(static_cast<size_t>(n)));
  std::string lines;
  for (int64_t i = 1; i <= n; ++i) {
    // Values are taken pair by pair, each matrix in turn: the first value
    // missing in that order is the one that stops the conversion.
    int64_t complete = i - 1;
    const MatrixRows* failing = nullptr;
    for (size_t k = 0; k < files.size(); ++k) {
      const int64_t read = files[k].read(i - 1, rows[k]);
      if (files[k].failed() && (!failing || read < complete)) {
        failing = &files[k];
        complete = read;
      }
    }
    lines.clear();
    for (int64_t j = 0; j < complete; ++j) {
      for (const auto& row : rows) {
        lines += fixed(row[static_cast<size_t>(j)], kValueWidth, kValueDecimals);
        lines += col_sep;
      }
      lines += kEol;
    }
    out.write(lines);
    if (failing) return failing->problem();
    if (progress) progress->advance_to(i);
  }
  return {};
}

}  // namespace torvi
