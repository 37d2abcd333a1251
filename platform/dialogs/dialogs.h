#pragma once
// Message boxes and the common dialogs (font, colour, file, folder) behind one interface, so that
// tests can record and answer them instead of blocking on a modal window. A message box opens
// centred over the window it belongs to (window_placement.h).

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

namespace platform {

// Buttons and answers of a message box, with the values the program compares against.
enum class MsgBoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgBoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// The colour dialog's 16 custom colours, which the caller keeps between openings.
using CustomColors = std::array<QColor, 16>;

// The program's title, shown on message boxes that give no title of their own.
QString ProgramTitle();

class DialogProvider {
 public:
  virtual ~DialogProvider() = default;
  virtual MsgBoxResult messageBox(const QString& text, MsgBoxButtons buttons, const QString& title) = 0;
  // The same message shown over `owner` (nullptr: the window WindowOfNewMessage finds). Providers
  // that show no window answer as messageBox does.
  virtual MsgBoxResult messageBoxOver(const QWidget* owner, const QString& text, MsgBoxButtons buttons,
                                      const QString& title) {
    static_cast<void>(owner);
    return messageBox(text, buttons, title);
  }
  // Returns the chosen font, or nothing when the learner cancelled.
  virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
  // Opens the colour dialog in its basic form on black (colour 0), with `customColors` offered as
  // the custom colours, and hands back the custom colours as the learner left them. Returns the
  // chosen colour, or nothing when the learner cancelled.
  virtual std::optional<QColor> chooseColor(CustomColors& customColors) = 0;
  // Returns the chosen file, or an empty text when the learner cancelled.
  virtual QString chooseOpenFile(const QString& title, const QString& folder, const QString& filter) = 0;
  // Returns the chosen folder, or an empty text when the learner cancelled.
  virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
};

// The provider in use: the Qt dialogs unless a test installed its own.
DialogProvider& Dialogs();
// Installs a provider (tests); passing nullptr restores the Qt dialogs.
void SetDialogProvider(std::unique_ptr<DialogProvider> provider);

// A provider that answers every message box with OK and cancels every other dialog at once, for
// runs where no one can click (benchmarks, fuzzing).
std::unique_ptr<DialogProvider> MakeSilentDialogs();

// A message box with the program's title unless one is given, centred over the window the learner
// is at (WindowOfNewMessage).
MsgBoxResult MsgBox(const QString& text, MsgBoxButtons buttons = MsgBoxButtons::Ok, const QString& title = {});
// The same, centred over `owner`, the window the message belongs to.
MsgBoxResult MsgBoxOver(const QWidget& owner, const QString& text, MsgBoxButtons buttons = MsgBoxButtons::Ok,
                        const QString& title = {});

}  // namespace platform
