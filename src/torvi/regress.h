#pragma once

// Multiple regression and (partial) Mantel tests on a table in columnar form:
// what the command line and the desktop program use of the regression
// engine.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host.h"
#include "json/document.h"
#include "json/settings_file.h"
#include "random/rng.h"
#include "report/fixed_format.h"  // integer(): the randomisation counter of the command line
#include "util/output_file.h"  // OutputError: a failed write of the output

namespace torvi::regress {

inline constexpr int kMaxVariables = 25;
inline constexpr int64_t kMaxRows = 125000;
inline constexpr int kMaxObjects = 500;
inline constexpr int kMinRandomisations = 200, kMaxRandomisations = 20000;
inline constexpr int kDefaultRandomisations = 2000;

// A refused input file; what() names the file and, where it applies, the line.
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A model whose explanatory variables are constant or combinations of each
// other; what() is the text the program prints.
struct SingularMatrix : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What the first lines of a table in columnar form say: its title, the
// number of rows and of variables, the variable names as stored (the first
// 30 characters of each name line, padded on the left with blanks to 10).
struct ColumnHeader {
  std::string title;
  int64_t rows = 0;
  int variables = 0;
  std::vector<std::string> names;
  // The number of objects N when the row count is N(N - 1)/2, else 0: the
  // rows may then be the lower triangle of a distance matrix.
  int objects = 0;
};

// Reads the title line, hands it to `on_title` (the output gets it before
// anything else is read), then the counts and the names. Refuses a file
// whose counts are not positive integers or exceed the limits, or that ends
// inside its names.
ColumnHeader read_column_header(const std::string& path, const std::function<void(const std::string&)>& on_title);

// Reads the rows of a table whose header was read: row-major, rows x
// variables values. Each row is one line of at least `variables` numbers
// (the rest of the line is ignored); a short or blank line, text where a
// number belongs, or a file with fewer rows is refused.
std::vector<float> read_column_rows(const std::string& path, const ColumnHeader& header);

// N when n = N(N - 1)/2 for some N >= 2, else 0.
int triangle_objects(int64_t rows);

// The two lines the output file gets when an input file is opened.
std::string opening_lines(const std::string& title, const std::string& input_path);

// One run: the dependent and explanatory variables by their numbers (1 to
// the number of variables, explanatory ones in the order of the model), the
// number R of data sets counting the observed one, and the files written.
struct MantelRequest {
  ColumnHeader header;
  int dependent = 0;
  std::vector<int> explanatory;
  int randomisations = kDefaultRandomisations;
  bool distance = false;      // rows are the lower triangle of a distance matrix
  std::string output_path;    // the report is appended here; empty: nowhere
  std::string residuals_path; // estimates and residuals (".res"); empty: none
  int threads = 1;
  std::string input_path;  // the table read, as the results document records it
  // When set (and an output file is named), the results document goes beside
  // the output file (OUTPUT.torvi.json, less a final ".out"), recording this
  // command with the model as its settings.
  std::optional<CommandRecord> results_document;
};

// The observed fit as the charts show it: estimate and residual of each row
// (centred scale), and the raw values (column mean added back) of the
// dependent and of each explanatory variable.
struct ObservedFit {
  std::vector<float> estimate, residual;
  std::vector<float> dependent;
  std::vector<std::vector<float>> explanatory;
};

// Why a request cannot run (a variable number out of range or used twice,
// distance mode on a row count that is not a triangle), or empty.
std::string request_problem(const MantelRequest& request);

// Runs the regression on `rows` (as read_column_rows returns them): appends
// the report head, fits the observed data (throws SingularMatrix), appends
// the observed results, hands the fit to `on_observed` and writes the
// residual file, then draws the randomisations from `rng` (progress and
// stop through `host`; throws RunCancelled, leaving the report without its
// P-values) and appends them. A failed write throws with the file and the
// reason.
void run_mantel(const MantelRequest& request, const std::vector<float>& rows, Rng& rng, Host& host,
                const std::function<void(const ObservedFit&)>& on_observed = {});

// What a settings file of the regression window holds: the table and the
// output file (either empty when none was chosen), the model by variable
// numbers (dependent 0 and no explanatory variable when none was chosen),
// the randomisations, "Data from distance matrices", "Save residuals",
// "Also write a JSON file", and the seeds when asked for.
struct MantelSettingsFile {
  std::string input, output;
  int dependent = 0;
  std::vector<int> explanatory;  // in the order of the model
  int randomisations = kDefaultRandomisations;
  bool distance = false;
  bool save_residuals = false;
  bool json = false;
  std::optional<Rng> seeds;
};

Json mantel_settings_document(const MantelSettingsFile& s);
// Throws SettingsError naming the key for an unknown key, a value of the
// wrong type or out of range (variables 1..25, each used once;
// randomisations 200..20000), or a file of another page.
MantelSettingsFile parse_mantel_settings(const Json& doc);
// Replaced only once complete; OutputError names the file and the reason.
void write_mantel_settings_file(const std::string& path, const MantelSettingsFile& s);
// SettingsError names the file when it cannot be read or used.
MantelSettingsFile read_mantel_settings_file(const std::string& path);
// Why the settings do not fit the table whose header was read (a variable
// beyond its columns, distance matrices on a row count that is not a
// triangle), naming the key; empty when they fit.
std::string mantel_settings_problem(const MantelSettingsFile& s, const ColumnHeader& header);

}  // namespace torvi::regress
