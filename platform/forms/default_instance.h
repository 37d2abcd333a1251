#pragma once
// One default instance per form, as the program expects: `Name::instance()` creates the form on
// first use and runs its load handler; `Name::unload()` runs the unload handler and disposes of
// it; `Name::loaded()` tells whether it exists. A form used again after its unload is created
// anew.

#include "platform/forms/form.h"

#include <functional>
#include <memory>

namespace platform {

// Registry of loaded forms so that the program (and tests) can unload every form at the end.
void RegisterLoadedForm(Form* form, void (*unload)());
void UnregisterLoadedForm(Form* form);
// Whether any form is loaded.
bool AnyFormLoaded();
// Unloads every loaded form, the most recently loaded first, and deletes them.
void UnloadAllForms();
// Deletes the forms whose unload is pending (their deletion waits for the event loop).
void DeleteUnloadedForms();
// Runs `action` whenever the last loaded form is unloaded (the program ends then).
void OnLastFormUnloaded(std::function<void()> action);

namespace detail {
struct DeferredFormDeleter {
  void operator()(Form* form) const;
};
}  // namespace detail

template <class Derived>
class DefaultInstance {
 public:
  static Derived& instance() {
    if (!slot_) {
      slot_.reset(new Derived());  // owned by the slot; disposed of by unload()
      Derived* form = static_cast<Derived*>(slot_.get());
      form->setUnloader(&DefaultInstance::unload);
      RegisterLoadedForm(form, &DefaultInstance::unload);
      form->Form_Load();
    }
    return static_cast<Derived&>(*slot_);
  }

  static bool loaded() { return slot_ != nullptr; }

  static void unload() {
    if (!slot_ || unloading_) return;
    unloading_ = true;
    slot_->Form_Unload();
    slot_->hide();
    UnregisterLoadedForm(slot_.get());
    slot_.reset();
    unloading_ = false;
  }

 private:
  static inline std::unique_ptr<Form, detail::DeferredFormDeleter> slot_;
  static inline bool unloading_ = false;
};

}  // namespace platform
