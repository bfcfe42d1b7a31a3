#pragma once

// The fixed-point text of fixed_format.h formed straight into a writer's own
// buffer, for the largest tables, where appending each cell to a string
// costs more than forming it.

namespace torvi {

// Room the text of put_quick_fixed takes at most, lead and padding included.
inline constexpr int kQuickFixedRoom = 40;
// Writes at `at` the text append_fixed(value, width, decimals, lead) appends
// when that text can be formed quickly: a finite value with fewer than 16
// digits, far enough from a rounding tie, in a narrow field. Returns the end
// of the text, or nullptr (and nothing written) when it takes the slow way.
char* put_quick_fixed(char* at, long double value, int width, int decimals, char lead = 0);

}  // namespace torvi
