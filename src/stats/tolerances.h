#pragma once

namespace torvi {

// Magnitudes at or below which a quantity counts as zero: a variance
// component, a sum of components, a standard deviation of allele sizes or a
// product of frequencies used as a denominator.
inline constexpr long double kNegligible = 1e-10L;

// Fis within a sample this close to zero is written as 0, and Nei's ratios
// need a denominator above it.
inline constexpr long double kNegligibleRatio = 1e-5L;

// A randomised statistic within this of the observed one counts as equal to
// it when ranked or counted (Fis per sample, the ranks of a p-value interval).
inline constexpr long double kTieMargin = 1e-5L;

// Pairwise G: a randomised G reaches the observed one within this, and a pair
// whose observed G is not above it is not tested.
inline constexpr long double kPairGMargin = 1e-7L;

}  // namespace torvi
