#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "host/host.h"
#include "model/data_set.h"

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

// The first line's four numbers and the locus names exactly as written (the
// first 6 characters of each line, nothing blanked), with no check of their
// values: what a conversion copies. The names are read only when nl lies in
// 0..NLMax. False after a message when the file cannot be opened or one of
// the four numbers cannot be read.
bool read_header_as_written(Host& host, const std::string& path, DataSet& ds);

// Sets coding_base from allele_digits, or shows the header check's message
// about the fourth number and returns false.
bool set_coding_base(Host& host, const std::string& path, DataSet& ds);

// Receives each individual of a full read as soon as its record is read:
// its sample number and its nl genotype codes (smaller allele in the high
// place). The codes are valid during the call only.
using RecordSink = std::function<void(int32_t sample, const int32_t* codes)>;

// The full read of read_data_file, one record at a time, with the same checks
// and messages (a file with no individuals is refused): the individuals go to `sink` instead of the data set, which
// receives np, nl, nu, nl_used, locus_names, ni, and sample_size as counts
// per sample (not running totals). Memory does not grow with the file.
bool read_data_records(Host& host, std::istream& in, const std::string& path, DataSet& ds, const RecordSink& sink);

}  // namespace torvi
