#include "tests/support/window_geometry.h"

#include "tests/support/x11_tools.h"

#include <QRegularExpression>

namespace testing_support {

std::optional<QRect> WindowGeometry(const QString& display, const QString& window) {
  const QString text = Xdotool(display, {QStringLiteral("getwindowgeometry"), window}).output;
  const QRegularExpressionMatch place = QRegularExpression(QStringLiteral(R"(Position: (-?\d+),(-?\d+))")).match(text);
  const QRegularExpressionMatch size = QRegularExpression(QStringLiteral(R"(Geometry: (\d+)x(\d+))")).match(text);
  if (!place.hasMatch() || !size.hasMatch()) return std::nullopt;
  return QRect(place.captured(1).toInt(), place.captured(2).toInt(), size.captured(1).toInt(), size.captured(2).toInt());
}

}  // namespace testing_support
