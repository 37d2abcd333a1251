#include "platform/forms/menu_item.h"

#include <QAction>
#include <QMenu>

namespace platform {

MenuItem::MenuItem(QObject* owner, MenuItem* parent, Kind kind, const QString& caption)
    : QObject(owner), kind_(kind), parent_(parent) {
  QMenu* parentMenu = parent != nullptr ? parent->menu() : nullptr;
  switch (kind) {
    case Kind::Submenu:
      menu_ = std::make_unique<QMenu>(caption);
      action_ = menu_->menuAction();
      connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
        if (onClick) onClick();
      });
      if (parentMenu != nullptr) parentMenu->addMenu(menu_.get());
      break;
    case Kind::Separator:
      action_ = parentMenu != nullptr ? parentMenu->addSeparator() : new QAction(this);
      action_->setSeparator(true);
      break;
    case Kind::Command:
      action_ = parentMenu != nullptr ? parentMenu->addAction(caption) : new QAction(caption, this);
      connect(action_, &QAction::triggered, this, [this] {
        // Qt flips a checkable action on trigger; the program sets check marks itself.
        action_->setChecked(checked_);
        if (onClick) onClick();
      });
      break;
  }
}

MenuItem::~MenuItem() = default;

QString MenuItem::caption() const { return kind_ == Kind::Submenu ? menu_->title() : action_->text(); }

void MenuItem::setCaption(const QString& caption) {
  if (kind_ == Kind::Separator) return;
  if (kind_ == Kind::Submenu) menu_->setTitle(caption);
  action_->setText(caption);
}

void MenuItem::setChecked(bool checked) {
  checked_ = checked;
  if (kind_ == Kind::Separator) return;
  if (checked) action_->setCheckable(true);
  action_->setChecked(checked);
}

bool MenuItem::enabled() const { return action_->isEnabled(); }
void MenuItem::setEnabled(bool enabled) { action_->setEnabled(enabled); }
bool MenuItem::visible() const { return action_->isVisible(); }
void MenuItem::setVisible(bool visible) { action_->setVisible(visible); }

void MenuItem::popup(const QPoint& screenPos) {
  if (menu_) menu_->exec(screenPos);
}

void MenuItem::click() {
  if (!action_->isEnabled()) return;
  if (kind_ == Kind::Submenu) {
    if (onClick) onClick();
  } else if (kind_ == Kind::Command) {
    action_->trigger();
  }
}

}  // namespace platform
