#include "maintenance/Zembrol2/Zembrol2_run.h"

UpdateRunParameters Zembrol2Run(const QString&) {
  return {
      .passes = {{.section = QStringLiteral("SELF_UPDATE"), .firstItem = 0, .lastItem = 0, .fromPathSection = {}}},
      .resultSection = QStringLiteral("Zembrol2"),
      .fetchedLineKey = InstallerKey{.section = QStringLiteral("VENDRIX"), .key = QStringLiteral("RESULT")},
  };
}
