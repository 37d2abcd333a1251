#pragma once
// The base of every window of the program. A form keeps its controls in creation order, under
// their program names (control arrays share one name and carry an index), so that code and the
// language walk can reach them by name. Forms are reached through their default instance
// (see default_instance.h), which runs the load handler on first use.

#include "platform/forms/menu_item.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace platform {

class Form : public QWidget {
  Q_OBJECT

 public:
  explicit Form(const QString& name);
  ~Form() override;

  QString name() const { return objectName(); }

  // The controls in creation order (menu items included).
  const std::vector<QObject*>& controls() const { return controls_; }
  // The first control of that name (or of that name and index, for control arrays).
  QObject* control(const QString& name, int index = -1) const;

  // The form's caption: its window title (a borderless bar shows it only as the tray tip).
  QString caption() const { return windowTitle(); }
  void setCaption(const QString& caption) { setWindowTitle(caption); }

  // Shows the form modally: returns when it is hidden or unloaded.
  void showModal();

  // Handlers the forms override.
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Unload() {}

  // Set by the default instance: unloads this form (the window's close button uses it).
  void setUnloader(std::function<void()> unloader) { unloader_ = std::move(unloader); }

 signals:
  void hiddenOrClosed();

 protected:
  // Creates a control owned by the form and registers it under its name.
  template <class Control, class... Args>
  Control* add(const QString& name, Args&&... args) {
    auto* control = new Control(this, std::forward<Args>(args)...);  // owned by the form (Qt parent)
    control->setObjectName(name);
    controls_.push_back(control);
    return control;
  }
  // The same for one element of a control array.
  template <class Control, class... Args>
  Control* addIndexed(const QString& name, int index, Args&&... args) {
    Control* control = add<Control>(name, std::forward<Args>(args)...);
    control->setProperty("index", index);
    return control;
  }
  MenuItem* addMenuItem(const QString& name, MenuItem* parent, MenuItem::Kind kind, const QString& caption) {
    return add<MenuItem>(name, parent, kind, caption);
  }

  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  std::vector<QObject*> controls_;  // not owned: children of the form
  std::function<void()> unloader_;
};

}  // namespace platform
