#pragma once

#include <optional>
#include <string>

#include "host/host.h"
#include "random/rng.h"

namespace torvi {

// The seeds file: one line with the two seeds of the generator, so that
// successive starts continue one stream instead of repeating it.
inline constexpr const char* kSeedsFileName = "TORVI.INI";

// Converts a text typed in the seeds dialog: leading blanks, an optional
// sign, then decimal digits only, within the 32-bit range. Nothing otherwise.
std::optional<int32_t> parse_seed_text(const std::string& text);

// Shows the seeds dialog until it yields two numbers and stores them into
// s1 and s2; a dialog closed without OK leaves both as they were.
void ask_seeds(Host& host, int32_t& s1, int32_t& s2);

// What the seeds file holds. Only its first line is read (and only so much of
// it), a UTF-8 byte-order mark is skipped, and the first two blank-separated
// words must be whole numbers within the seeds' ranges: seeds outside them
// would freeze the generator.
struct SeedsRead {
  enum class State { missing, usable, unusable };
  State state = State::missing;
  int32_t seed1 = 0, seed2 = 0;
  std::string problem;  // when unusable: names the file, the value and the valid range
};
SeedsRead read_seeds_file(const std::string& path);

// At start-up: takes the file's seeds when they are usable; otherwise says
// what is wrong with the file (an information message), asks until both
// seeds are in range and writes them with one blank. The file is never
// emptied before new seeds are at hand.
void load_seeds(Host& host, Rng& rng, const std::string& path);

// Asks until both seeds are in range, takes them and writes them with one
// blank; a file that cannot be written is reported through the host.
void ask_new_seeds(Host& host, Rng& rng, const std::string& path);

// Writes the current state with three blanks (end of a run, exit). False,
// with the reason, when the file could not be replaced.
bool save_seeds(const Rng& rng, const std::string& path, std::string* reason = nullptr);

// "Reset seeds Random Number Generator": asks until both seeds are in range,
// then replaces the file by them with one blank. The new seeds take effect
// for the next draw.
void reset_seeds(Host& host, Rng& rng, const std::string& path);

// Writes the two seeds separated by one blank (as after the dialog).
bool write_seeds(int32_t s1, int32_t s2, const std::string& path, std::string* reason = nullptr);

// Why the seeds file could not be replaced after a run (a symbolic link,
// not a regular file, read-only, or in a folder that cannot be written), or
// nothing. Checked before a run so that a run never silently reuses a stream.
std::optional<std::string> seeds_write_problem(const std::string& path);

bool seeds_in_range(int32_t s1, int32_t s2);

}  // namespace torvi
