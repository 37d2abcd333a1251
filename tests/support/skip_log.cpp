#include "tests/support/skip_log.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>

namespace testing_support {

void SkipLog::OnTestEnd(const ::testing::TestInfo& test) {
  const QString path = qEnvironmentVariable("LEXORN_TEST_SKIP_LOG");
  const ::testing::TestResult& result = *test.result();
  if (path.isEmpty() || !result.Skipped()) return;
  QString reason;
  for (int i = 0; i < result.total_part_count(); ++i) {
    const ::testing::TestPartResult& part = result.GetTestPartResult(i);
    if (part.skipped()) reason += QString::fromUtf8(part.message()) + QLatin1Char(' ');
  }
  const QByteArray line = QByteArray(test.test_suite_name()) + '.' + test.name() + '\t' +
                          reason.simplified().toUtf8() + '\n';
  QFile log(path);
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) || log.write(line) != line.size()) {
    std::fprintf(stderr, "cannot write the skipped test %s to %s\n", line.constData(), qPrintable(path));
  }
}

}  // namespace testing_support
