#include "system_info.h"

#include <QRegularExpression>
#include <QSysInfo>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace torvi::gui {

namespace {

QString system_name(const QString& kernel_type) {
  if (kernel_type == "winnt") return "Windows NT";
  if (kernel_type == "linux") return "Linux";
  if (kernel_type == "darwin") return "Darwin";
  if (kernel_type.isEmpty()) return "Unknown";
  return kernel_type.left(1).toUpper() + kernel_type.mid(1);
}

}  // namespace

QString os_description(const QString& kernel_type, const QString& kernel_version) {
  static const QRegularExpression version(R"(^(\d+)(?:\.(\d+))?(?:\.(\d+))?[-.+ _]?(.*)$)");
  const QString name = system_name(kernel_type);
  auto m = version.match(kernel_version.trimmed());
  if (!m.hasMatch()) return name;
  const int major = m.captured(1).toInt();
  const int minor = m.captured(2).toInt();
  if (m.captured(3).isEmpty()) return QString::asprintf("%s %d.%d", qPrintable(name), major, minor);
  const int build = m.captured(3).toInt();
  const QString extra = m.captured(4);
  if (extra.isEmpty()) return QString::asprintf("%s %d.%d (Build %d)", qPrintable(name), major, minor, build);
  return QString::asprintf("%s %d.%d (Build %d: %s)", qPrintable(name), major, minor, build, qPrintable(extra));
}

QString os_description() { return os_description(QSysInfo::kernelType(), QSysInfo::kernelVersion()); }

uint64_t physical_memory_kb() {
#if defined(Q_OS_WIN)
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return status.ullTotalPhys / 1024;
#else
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  return static_cast<uint64_t>(pages) / 1024 * static_cast<uint64_t>(page_size) +
         static_cast<uint64_t>(pages) % 1024 * static_cast<uint64_t>(page_size) / 1024;
#endif
}

QString memory_text(uint64_t kb) {
  // "#,###" prints nothing for zero.
  QString digits = kb == 0 ? QString() : QString::number(kb);
  for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, ',');
  return digits + " KB";
}

}  // namespace torvi::gui
