#include "qsettings_store.h"

#include <QSettings>

namespace torvi::gui {

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "TORVI")) {}

QSettingsStore::QSettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::key_exists() const {
  settings_->sync();  // another instance may have saved since
  return !settings_->childKeys().isEmpty();
}

std::optional<bool> QSettingsStore::read_bool(const std::string& name) const {
  QVariant v = settings_->value(QString::fromStdString(name));
  if (!v.isValid()) return std::nullopt;
  const QString text = v.toString().toLower();
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  return std::nullopt;
}

std::optional<int32_t> QSettingsStore::read_int(const std::string& name) const {
  QVariant v = settings_->value(QString::fromStdString(name));
  bool ok = false;
  const int value = v.toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

void QSettingsStore::write_bool(const std::string& name, bool value) {
  settings_->setValue(QString::fromStdString(name), value);
  settings_->sync();
}

void QSettingsStore::write_int(const std::string& name, int32_t value) {
  settings_->setValue(QString::fromStdString(name), value);
  settings_->sync();
}

}  // namespace torvi::gui
