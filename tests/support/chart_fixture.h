#pragma once
// A fixture for the statistics charts: the segment fixture's bar and tables, a library folder
// for the settings file the charts read and write, a target percentage, and reading a chart's
// columns back from its pixels.

#include "core/read_ini_bas.h"
#include "core/segments_bas.h"
#include "platform/ini/ini.h"
#include "progress/charts/chart_colors.h"
#include "progress/charts/frmDayStatistics.h"
#include "progress/charts/frmStatisticsA.h"
#include "progress/charts/frmStatisticsG.h"
#include "tests/support/segment_fixture.h"

#include "tests/support/x11_tools.h"

#include <QImage>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <set>

namespace testing_support {

class ChartFixture : public SegmentFixture {
 protected:
  void SetUp() override {
    SegmentFixture::SetUp();
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = "Words.abc";
    g_LibraryPath = g_LibraryFolder + g_LibraryFileName;
    g_TargetPercentage = "66";
  }

  void TearDown() override {
    frmStatisticsG::unload();
    frmStatisticsA::unload();
    frmDayStatistics::unload();
    SegmentFixture::TearDown();
  }

  // A header line and `count` word lines "w<i>@x<i>", those in `killed` marked with "*".
  static void SetMarkedLibrary(int count, const std::set<int>& killed) {
    std::vector<QString> lines{"{AC}"};
    for (int i = 1; i <= count; ++i) lines.push_back(QStringLiteral("%1w%2@x%2").arg(killed.count(i) ? "*" : "").arg(i));
    SetLibrary(std::move(lines));
  }

  // Shows the chart modally, as the tray menu does, and runs `drive` inside its loop; false when
  // the chart was still open after five seconds (it is closed then).
  template <class Chart>
  static bool ShowModalAndDrive(const std::function<void(Chart&)>& drive) {
    Chart& chart = Chart::instance();
    QTimer driver;
    QTimer fallback;
    QObject::connect(&driver, &QTimer::timeout, [&] { drive(chart); });
    QObject::connect(&fallback, &QTimer::timeout, [] { Chart::unload(); });
    driver.setSingleShot(true);
    fallback.setSingleShot(true);
    driver.start(0);
    fallback.start(5000);
    chart.showModal();
    return fallback.isActive();
  }

  // Waits until the chart is on the X server's screen.
  static bool WaitUntilShown(const QWidget& chart) {
    return WaitUntil([&] { return chart.windowHandle() != nullptr && chart.windowHandle()->isExposed(); }, 3s);
  }

  // Moves the server's pointer, no button held, to `at` in `box`'s pixels.
  static bool MovePointerTo(const QWidget& box, QPoint at) {
    const QPoint global = box.mapToGlobal(at);
    return Xdotool(qEnvironmentVariable("DISPLAY"),
                   {"mousemove", QString::number(global.x()), QString::number(global.y())})
        .ok();
  }

  static QString NormalSetting(const QString& key) {
    return platform::ReadProfileString(LibrarySettingsFile(), "Normal", key, "Error");
  }

  // The bar standing on the bottom edge of the image at pixel column x: its red and its green
  // pixels, counted upwards until another colour.
  struct BarPixels {
    int red = 0;
    int green = 0;
    int total() const { return red + green; }
  };
  static BarPixels BarAt(const QImage& image, int x) {
    BarPixels bar;
    for (int y = image.height() - 1; y >= 0; --y) {
      const QColor pixel = image.pixelColor(x, y);
      if (pixel == kChartRed) {
        ++bar.red;
      } else if (pixel == kChartGreen) {
        ++bar.green;
      } else {
        break;
      }
    }
    return bar;
  }
};

}  // namespace testing_support
