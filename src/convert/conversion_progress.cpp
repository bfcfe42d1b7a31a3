#include "convert/conversion_progress.h"

namespace torvi {

ConversionProgress::ConversionProgress(Host& host, int64_t range) : host_(host) { host_.progress_begin(range); }

ConversionProgress::~ConversionProgress() { host_.progress_end(); }

void ConversionProgress::advance_to(int64_t done) {
  if (done > done_) {
    host_.progress_step(done - done_);
    done_ = done;
  }
  if (host_.stop_requested()) throw RunCancelled();
}

}  // namespace torvi
