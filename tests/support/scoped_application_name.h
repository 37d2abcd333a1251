#pragma once
// Runs a test under another executable name (the text-reading edition is told by its name) and
// restores the real one afterwards.

#include <QCoreApplication>
#include <QString>

namespace testing_support {

class ScopedApplicationName {
 public:
  explicit ScopedApplicationName(const QString& name) : saved_(QCoreApplication::applicationName()) {
    QCoreApplication::setApplicationName(name);
  }
  ~ScopedApplicationName() { QCoreApplication::setApplicationName(saved_); }
  ScopedApplicationName(const ScopedApplicationName&) = delete;
  ScopedApplicationName& operator=(const ScopedApplicationName&) = delete;

 private:
  QString saved_;
};

}  // namespace testing_support
