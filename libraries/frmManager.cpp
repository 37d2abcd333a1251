#include "libraries/frmManager.h"

#include "core/language_bas.h"

#include <QVBoxLayout>

namespace {

// Client size of the manager window: 6240 x 2520 twips.
constexpr int kWidthPixels = 416;
constexpr int kHeightPixels = 168;

}  // namespace

frmManager::frmManager() : Form(QStringLiteral("frmManager")) {
  Lbl_Empty = add<platform::Label>(QStringLiteral("Lbl_Empty"));
  Lbl_Empty->setCaption(QStringLiteral("词库管理器"));
  Lbl_Empty->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);  // owned by the form
  layout->addWidget(Lbl_Empty);
  resize(kWidthPixels, kHeightPixels);
}

frmManager::~frmManager() = default;

void frmManager::Form_Load() {
  ApplyFormLanguage(QStringLiteral("frmManager"));
  // The window is titled with the same localised name its label shows.
  setCaption(Lbl_Empty->caption());
}
