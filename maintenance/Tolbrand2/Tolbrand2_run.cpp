#include "maintenance/Tolbrand2/Tolbrand2_run.h"

UpdateRunParameters Tolbrand2Run(const QString& language) {
  const QString plainSection = QStringLiteral("SERVER_LEATEST_2");
  return {
      .passes = {{.section = plainSection, .firstItem = 1, .lastItem = 99, .fromPathSection = {}},
                 {.section = plainSection + language, .firstItem = 1, .lastItem = 5, .fromPathSection = plainSection}},
      .resultSection = QStringLiteral("ServerUpdate2"),
      .fetchedLineKey = std::nullopt,
  };
}
