#pragma once

namespace torvi {

// Hard limits of a data set; they appear by name in the reader's messages.
inline constexpr int NPMax = 200;      // samples
inline constexpr int NLMax = 600;      // loci
inline constexpr int NUMax = 999;      // largest allele identifier
inline constexpr int MaxInd = 200000;  // individuals stored

// Marks an estimate that cannot be formed; any value above -9 is a value.
inline constexpr long double na_value = -9.99L;
inline bool is_value(long double x) { return x > -9.0L; }

}  // namespace torvi
