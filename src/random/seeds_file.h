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

// The first two whitespace-separated integers of the file; a missing value or
// one that is not a number reads as 0. Nothing when the file does not exist.
std::optional<std::pair<int32_t, int32_t>> read_seeds_file(const std::string& path);

// At start-up: takes the file's seeds as they stand when both are non-zero;
// otherwise asks until both are in range and writes them with one blank.
void load_seeds(Host& host, Rng& rng, const std::string& path);

// Writes the current state with three blanks (end of a run, exit).
bool save_seeds(const Rng& rng, const std::string& path);

// "Reset seeds Random Number Generator": empties the file, asks until both
// seeds are in range, writes them with one blank. The new seeds take effect
// for the next draw.
void reset_seeds(Host& host, Rng& rng, const std::string& path);

// Writes the two seeds separated by one blank (as after the dialog).
bool write_seeds(int32_t s1, int32_t s2, const std::string& path);

bool seeds_in_range(int32_t s1, int32_t s2);

}  // namespace torvi
