#include "platform/dialogs/dialogs.h"

#include "platform/dialogs/window_placement.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPointer>
#include <QShowEvent>

namespace platform {
namespace {

// A message box that takes its place once its size is known: Qt sizes a message box only while
// it is being shown, and a box without a parent would open in the middle of the screen, or where
// no window manager moves it, at the screen's corner. It has no parent, so a window closed under
// it cannot take it along; the owner is only looked at.
class PlacedMessageBox final : public QMessageBox {
 public:
  explicit PlacedMessageBox(const QWidget* owner) : owner_(owner) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (!event->spontaneous()) CentreOver(*this, owner_.data());
  }

 private:
  QPointer<const QWidget> owner_;
};

class QtDialogs final : public DialogProvider {
 public:
  MsgBoxResult messageBox(const QString& text, MsgBoxButtons buttons, const QString& title) override {
    return messageBoxOver(nullptr, text, buttons, title);
  }

  MsgBoxResult messageBoxOver(const QWidget* owner, const QString& text, MsgBoxButtons buttons,
                              const QString& title) override {
    PlacedMessageBox box(owner != nullptr ? owner : WindowOfNewMessage());
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
  return Dialogs().messageBoxOver(nullptr, text, buttons, title.isEmpty() ? ProgramTitle() : title);
}

MsgBoxResult MsgBoxOver(const QWidget& owner, const QString& text, MsgBoxButtons buttons, const QString& title) {
  return Dialogs().messageBoxOver(&owner, text, buttons, title.isEmpty() ? ProgramTitle() : title);
}

}  // namespace platform
