#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace torvi {

// Reals of a result-file section kept at full precision beside its text, for
// the results document: while a section observer is installed on a thread,
// fixed() notes each value it formats there, and ReportText claims the noted
// values whose text it appends, with their place in its buffer.

// A real shown at text[offset, offset + length).
struct CapturedValue {
  size_t offset = 0;
  size_t length = 0;
  long double value = 0;
};

// Called after a section was written whole to `path`.
using SectionObserver =
    std::function<void(const std::string& path, std::string_view text, const std::vector<CapturedValue>& values)>;

namespace value_capture {

// True while an observer is installed on this thread (the check formatters make).
extern thread_local bool active;

// fixed() formatted `value` as `text`.
void note(long double value, std::string_view text);

// `appended` goes into a buffer at `offset`: the values noted since the last
// claim whose texts appear in it, in order, are added to `into`; the rest
// (formatted for text that was never appended) are forgotten.
void claim(std::string_view appended, size_t offset, std::vector<CapturedValue>& into);

// Tells the observer of this thread, if any, that a section was written.
void section_written(const std::string& path, std::string_view text, const std::vector<CapturedValue>& values);

}  // namespace value_capture

// Installs `observer` on the calling thread for the scope's lifetime.
class SectionObserverScope {
 public:
  explicit SectionObserverScope(SectionObserver observer);
  ~SectionObserverScope();
  SectionObserverScope(const SectionObserverScope&) = delete;
  SectionObserverScope& operator=(const SectionObserverScope&) = delete;

 private:
  SectionObserver observer_;
  SectionObserver* previous_;
  bool was_active_;
};

}  // namespace torvi
