#pragma once
// A dialog provider for tests: records every message box and answers with preset replies.

#include "platform/dialogs/dialogs.h"

#include <deque>
#include <vector>

namespace testing_support {

class RecordingDialogs final : public platform::DialogProvider {
 public:
  struct Message {
    QString text;
    QString title;
    platform::MsgBoxButtons buttons;
  };

  std::vector<Message> messages;
  std::deque<platform::MsgBoxResult> replies;  // answered in order; Ok/Yes-less default when empty
  std::optional<QFont> fontReply;
  std::optional<QColor> colorReply;
  std::optional<platform::CustomColors> colorCustomReply;
  platform::CustomColors colorCustomOffered;
  int colorDialogs = 0;
  QString fileReply;
  QString folderReply;

  platform::MsgBoxResult messageBox(const QString& text, platform::MsgBoxButtons buttons,
                                    const QString& title) override {
    messages.push_back({text, title, buttons});
    if (replies.empty()) return platform::MsgBoxResult::Ok;
    const auto reply = replies.front();
    replies.pop_front();
    return reply;
  }
  std::optional<QFont> chooseFont(const QFont&) override { return fontReply; }
  // Records the custom colours offered, then leaves `colorCustomReply` in the table when set.
  std::optional<QColor> chooseColor(platform::CustomColors& customColors) override {
    ++colorDialogs;
    colorCustomOffered = customColors;
    if (colorCustomReply) customColors = *colorCustomReply;
    return colorReply;
  }
  QString chooseOpenFile(const QString&, const QString&, const QString&) override { return fileReply; }
  QString chooseFolder(const QString&, const QString&) override { return folderReply; }
};

// Installs a RecordingDialogs for the lifetime of this object and restores the Qt dialogs after.
class ScopedRecordingDialogs {
 public:
  ScopedRecordingDialogs() {
    auto owned = std::make_unique<RecordingDialogs>();
    dialogs_ = owned.get();
    platform::SetDialogProvider(std::move(owned));
  }
  ~ScopedRecordingDialogs() { platform::SetDialogProvider(nullptr); }
  ScopedRecordingDialogs(const ScopedRecordingDialogs&) = delete;
  ScopedRecordingDialogs& operator=(const ScopedRecordingDialogs&) = delete;

  RecordingDialogs* operator->() const { return dialogs_; }
  RecordingDialogs& operator*() const { return *dialogs_; }

 private:
  RecordingDialogs* dialogs_;  // owned by the platform's provider slot while this object lives
};

}  // namespace testing_support
