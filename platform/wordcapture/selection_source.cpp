#include "platform/wordcapture/selection_source.h"

#include "platform/wordcapture/pointer_buttons.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

PrimarySelectionSource::PrimarySelectionSource(QObject* parent) : SelectionSource(parent) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !clipboard->supportsSelection()) return;
  connect(clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
    if (mode == QClipboard::Selection) emit changed();
  });
}

QString PrimarySelectionSource::text() const {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard == nullptr ? QString() : clipboard->text(QClipboard::Selection);
}

std::optional<bool> PrimarySelectionSource::stillSelecting() const { return PointerButtonsHeld(); }

}  // namespace platform
