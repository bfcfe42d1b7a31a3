#pragma once

#include <istream>
#include <string>

#include "data/data_set.h"
#include "host/host.h"

namespace torvi {

// Contact line of the two limit messages.
inline constexpr const char* kContactLine = "Contact the Torvi developers to raise these limits.";

// Reads the first line and the locus names of a data file: np, nl, nu,
// allele_digits, coding_base and locus_names; selects every locus and
// sample. Shows a message through the host and returns false on failure.
bool check_header(Host& host, const std::string& path, DataSet& ds);

// Reads the whole file into the data set (its coding_base comes from
// check_header). Shows a message through the host and returns false on
// failure; the file is then not analysed.
bool read_data_file(Host& host, const std::string& path, DataSet& ds);

// The same two readers on an open stream; `path` names the file in messages.
bool check_header(Host& host, std::istream& in, const std::string& path, DataSet& ds);
bool read_data_file(Host& host, std::istream& in, const std::string& path, DataSet& ds);

}  // namespace torvi
