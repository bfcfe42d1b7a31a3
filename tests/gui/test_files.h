#pragma once

#include <QFile>
#include <QtTest>

namespace torvi::gui::testing {

// Whole contents of a file, or nothing when it cannot be read.
inline QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void write_all(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace torvi::gui::testing
