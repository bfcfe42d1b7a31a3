#pragma once

#include <cstddef>
#include <cstdint>

namespace torvi {

// Randomisations run in batches that the threads share out: at most
// kMaxBatch randomisations per batch, and the arrangements of a batch (two
// batches are held at once) within kArrangementBytes.
inline constexpr int64_t kMaxBatch = 256;
inline constexpr size_t kArrangementBytes = size_t{8} << 20;

// The per-locus results of a batch of the test over samples stay within this.
inline constexpr int64_t kBatchResultBytes = int64_t{4} << 20;

}  // namespace torvi
