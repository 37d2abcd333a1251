#pragma once
// A menu item of a form's menu tree: a submenu, a command, or a separator, with the caption,
// check mark, enabled and visible state the program sets. Check marks change only when the
// program sets them, never by themselves on a click.

#include "platform/forms/captioned.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace platform {

class MenuItem : public QObject, public Captioned {
  Q_OBJECT

 public:
  enum class Kind { Submenu, Command, Separator };

  // Creates the item as the last entry of `parent`'s submenu (no parent: a root menu).
  MenuItem(QObject* owner, MenuItem* parent, Kind kind, const QString& caption);
  ~MenuItem() override;

  Kind kind() const { return kind_; }
  MenuItem* parentItem() const { return parent_; }

  QString caption() const override;
  void setCaption(const QString& caption) override;
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool enabled() const;
  void setEnabled(bool enabled);
  bool visible() const;
  void setVisible(bool visible);

  // Runs when a command is chosen, or when a submenu opens.
  std::function<void()> onClick;

  // Shows this submenu as a pop-up at a screen point and returns when it closes.
  void popup(const QPoint& screenPos);
  // Chooses the item as a click would (tests, keyboard paths).
  void click();

  QAction* action() const { return action_; }
  QMenu* menu() const { return menu_.get(); }

 private:
  Kind kind_;
  MenuItem* parent_;
  std::unique_ptr<QMenu> menu_;  // submenus only
  QAction* action_ = nullptr;    // owned by the parent's menu (or by menu_ for submenus)
  bool checked_ = false;
};

}  // namespace platform
