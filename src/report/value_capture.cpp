#include "report/value_capture.h"

#include <algorithm>

namespace torvi {

namespace {

struct Noted {
  long double value;
  std::string text;
};

thread_local SectionObserver* observer = nullptr;
thread_local std::vector<Noted> noted;

}  // namespace

namespace value_capture {

thread_local bool active = false;

void note(long double value, std::string_view text) { noted.push_back({value, std::string(text)}); }

namespace {

// Where `text` stands in `appended` outside the places already claimed (from
// index `first` of `into` on), searching from `from`; npos when nowhere.
size_t free_place(std::string_view appended, std::string_view text, size_t from, size_t offset,
                  const std::vector<CapturedValue>& into, size_t first) {
  for (size_t at = appended.find(text, from); at != std::string_view::npos; at = appended.find(text, at + 1)) {
    const bool taken = std::any_of(into.begin() + static_cast<std::ptrdiff_t>(first), into.end(), [&](const auto& c) {
      return offset + at < c.offset + c.length && c.offset < offset + at + text.size();
    });
    if (!taken) return at;
  }
  return std::string_view::npos;
}

}  // namespace

void claim(std::string_view appended, size_t offset, std::vector<CapturedValue>& into) {
  const size_t first = into.size();
  size_t from = 0;
  for (const Noted& n : noted) {
    // In the order formatted, or anywhere free when the parts of one text
    // were formatted in another order.
    size_t at = free_place(appended, n.text, from, offset, into, first);
    if (at == std::string_view::npos) at = free_place(appended, n.text, 0, offset, into, first);
    if (at == std::string_view::npos) continue;
    into.push_back({offset + at, n.text.size(), n.value});
    from = at + n.text.size();
  }
  std::sort(into.begin() + static_cast<std::ptrdiff_t>(first), into.end(),
            [](const CapturedValue& a, const CapturedValue& b) { return a.offset < b.offset; });
  noted.clear();
}

void section_written(const std::string& path, std::string_view text, const std::vector<CapturedValue>& values) {
  if (observer) (*observer)(path, text, values);
}

}  // namespace value_capture

SectionObserverScope::SectionObserverScope(SectionObserver o)
    : observer_(std::move(o)), previous_(observer), was_active_(value_capture::active) {
  observer = &observer_;
  value_capture::active = true;
  noted.clear();
}

SectionObserverScope::~SectionObserverScope() {
  observer = previous_;
  value_capture::active = was_active_;
  noted.clear();
}

}  // namespace torvi
