#include "platform/dialogs/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace platform {
namespace {

class QtDialogs final : public DialogProvider {
 public:
  MsgBoxResult messageBox(const QString& text, MsgBoxButtons buttons, const QString& title) override {
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    switch (buttons) {
      case MsgBoxButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
      case MsgBoxButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
      case MsgBoxButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
      case MsgBoxButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
      case QMessageBox::Ok: return MsgBoxResult::Ok;
      case QMessageBox::Yes: return MsgBoxResult::Yes;
      case QMessageBox::No: return MsgBoxResult::No;
      default: return MsgBoxResult::Cancel;
    }
  }

  std::optional<QFont> chooseFont(const QFont& initial) override {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial);
    if (!ok) return std::nullopt;
    return font;
  }

  std::optional<QColor> chooseColor(CustomColors& customColors) override {
    // Qt keeps one table of custom colours for every dialog: it is loaded from the caller's table
    // and read back, so each caller keeps its own.
    for (int slot = 0; slot < static_cast<int>(customColors.size()); ++slot) {
      QColorDialog::setCustomColor(slot, customColors[static_cast<std::size_t>(slot)]);
    }
    const QColor color = QColorDialog::getColor(Qt::black, nullptr, QString(), QColorDialog::DontUseNativeDialog);
    for (int slot = 0; slot < static_cast<int>(customColors.size()); ++slot) {
      customColors[static_cast<std::size_t>(slot)] = QColorDialog::customColor(slot);
    }
    if (!color.isValid()) return std::nullopt;
    return color;
  }

  QString chooseOpenFile(const QString& title, const QString& folder, const QString& filter) override {
    return QFileDialog::getOpenFileName(nullptr, title, folder, filter);
  }

  QString chooseFolder(const QString& title, const QString& folder) override {
    return QFileDialog::getExistingDirectory(nullptr, title, folder);
  }
};

class SilentDialogs final : public DialogProvider {
 public:
  MsgBoxResult messageBox(const QString&, MsgBoxButtons, const QString&) override { return MsgBoxResult::Ok; }
  std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
  std::optional<QColor> chooseColor(CustomColors&) override { return std::nullopt; }
  QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
  QString chooseFolder(const QString&, const QString&) override { return {}; }
};

std::unique_ptr<DialogProvider>& InstalledProvider() {
  static std::unique_ptr<DialogProvider> provider;
  return provider;
}

}  // namespace

QString ProgramTitle() { return QStringLiteral("Corvel'sLexorn2"); }

DialogProvider& Dialogs() {
  auto& provider = InstalledProvider();
  if (!provider) provider = std::make_unique<QtDialogs>();
  return *provider;
}

std::unique_ptr<DialogProvider> MakeSilentDialogs() { return std::make_unique<SilentDialogs>(); }

void SetDialogProvider(std::unique_ptr<DialogProvider> provider) { InstalledProvider() = std::move(provider); }

MsgBoxResult MsgBox(const QString& text, MsgBoxButtons buttons, const QString& title) {
  return Dialogs().messageBox(text, buttons, title.isEmpty() ? ProgramTitle() : title);
}

}  // namespace platform
