#pragma once

#include <memory>

#include "torvi/options.h"

class QSettings;

namespace torvi::gui {

// The default-options store on QSettings: the per-user organisation path
// Software/TORVI (the registry key on Windows, TORVI.conf elsewhere), or any
// QSettings given, for tests.
class QSettingsStore : public SettingsStore {
 public:
  QSettingsStore();
  explicit QSettingsStore(std::unique_ptr<QSettings> settings);
  ~QSettingsStore() override;

  bool key_exists() const override;
  std::optional<bool> read_bool(const std::string& name) const override;
  std::optional<int32_t> read_int(const std::string& name) const override;
  void write_bool(const std::string& name, bool value) override;
  void write_int(const std::string& name, int32_t value) override;

  // The settings themselves, for what the window keeps beside the default
  // options (its size and place, the recent files) in groups of their own.
  QSettings& settings() { return *settings_; }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace torvi::gui
