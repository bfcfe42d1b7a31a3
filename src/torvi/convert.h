#pragma once

// File conversions: data files to Genepop files and back, and matrix files
// to one columnar file. Every dialog and message goes through the host; the
// files written are replaced only once complete.

#include <string>
#include <vector>

#include "host/host.h"

namespace torvi {

// What one conversion command did.
struct ConvertOutcome {
  int converted = 0;  // files written whole
  int refused = 0;    // inputs refused (a message said why), or outputs that could not be written
  int skipped = 0;    // targets that exist and were given no name
  bool cancelled = false;
  std::vector<std::string> written;  // the files written whole, in order

  bool all_done() const { return refused == 0 && skipped == 0 && !cancelled; }
};

// "Torvi->Genepop": each data file (".dat", any case; other files are passed
// over) to a Genepop file beside it, "<name>.gen". When that file exists the
// host is asked for a name; none means "Invalid file name" and the next file.
// A data file the reader refuses leaves a Genepop file with its title, locus
// names and first "Pop" line.
ConvertOutcome convert_data_to_genepop(Host& host, const std::vector<std::string>& files);

// "Genepop->Torvi": a Genepop file (".gen", any case, or no extension) to a
// data file. `target` names it; when empty it is the Genepop file's name with
// ".dat", and the host is asked for a name when that file exists (none: the
// command stops). Nothing is written for a faulty Genepop file.
ConvertOutcome convert_genepop_to_data(Host& host, const std::string& genepop_file, const std::string& target = {});

// "Matrices->Columns": square matrices, one file each, to one columnar file
// whose name the host is asked for. A value that cannot be read stops the
// conversion; the lines completed before it stay in the columnar file.
ConvertOutcome convert_matrices_to_columns(Host& host, const std::vector<std::string>& matrix_files);

// The file names each command takes.
bool is_data_file_name(const std::string& path);
bool is_genepop_file_name(const std::string& path);

}  // namespace torvi
