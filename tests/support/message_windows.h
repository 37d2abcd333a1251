#pragma once
// The message boxes of a program under test on an X server: found by the program's title and
// answered from the keyboard. (Their text cannot be read from the X server; the unit tests check
// the words.)

#include "tests/support/x11_tools.h"

#include <QString>
#include <QStringList>

namespace testing_support {

// The visible windows of process `pid` titled as the program's message boxes.
QStringList MessageWindows(const QString& display, qint64 pid);

// Answers the message box `window` with its default button.
bool CloseMessage(const QString& display, const QString& window);

}  // namespace testing_support
