#include "tests/support/bar_motion.h"

#include "tests/support/x11_tools.h"

#include <QCryptographicHash>
#include <QThread>

#include <chrono>

namespace testing_support {

using namespace std::chrono_literals;

QByteArray ImageFingerprint(const QImage& image) {
  return QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()),
                                  QCryptographicHash::Sha1);
}

bool BarRuns(const std::function<QByteArray()>& look) {
  const QByteArray before = look();
  return WaitUntil([&] { return look() != before; }, 4s, 200ms);
}

bool BarStaysStill(const std::function<QByteArray()>& look) {
  QThread::msleep(300);
  const QByteArray before = look();
  return !WaitUntil([&] { return look() != before; }, 2500ms, 200ms);
}

}  // namespace testing_support
