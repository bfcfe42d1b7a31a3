#pragma once

#include <cstdint>

#include "host/host.h"

namespace torvi {

// The progress display of one conversion, in units of the caller's choosing
// (bytes read, rows written). Each advance also asks the host whether to
// stop, and throws RunCancelled when it does.
class ConversionProgress {
 public:
  ConversionProgress(Host& host, int64_t range);
  ~ConversionProgress();
  ConversionProgress(const ConversionProgress&) = delete;
  ConversionProgress& operator=(const ConversionProgress&) = delete;

  void advance_to(int64_t done);

 private:
  Host& host_;
  int64_t done_ = 0;
};

}  // namespace torvi
