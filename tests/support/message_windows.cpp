#include "tests/support/message_windows.h"

namespace testing_support {

QStringList MessageWindows(const QString& display, qint64 pid) {
  const CommandResult found = Xdotool(display, {"search", "--all", "--onlyvisible", "--pid", QString::number(pid),
                                                "--name", "^Corvel'sLexorn2$"});
  return found.ok() ? found.output.split('\n', Qt::SkipEmptyParts) : QStringList{};
}

bool CloseMessage(const QString& display, const QString& window) {
  return Xdotool(display, {"windowfocus", "--sync", window}).ok() && Xdotool(display, {"key", "Return"}).ok();
}

}  // namespace testing_support
