#include "platform/forms/default_instance.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace {

struct LoadedForm {
  Form* form;
  void (*unload)();
};

std::vector<LoadedForm>& LoadedForms() {
  static std::vector<LoadedForm> forms;
  return forms;
}

std::function<void()>& LastFormUnloadedAction() {
  static std::function<void()> action;
  return action;
}

}  // namespace

void OnLastFormUnloaded(std::function<void()> action) { LastFormUnloadedAction() = std::move(action); }

void RegisterLoadedForm(Form* form, void (*unload)()) { LoadedForms().push_back({form, unload}); }

void UnregisterLoadedForm(Form* form) {
  auto& forms = LoadedForms();
  forms.erase(std::remove_if(forms.begin(), forms.end(), [form](const LoadedForm& f) { return f.form == form; }),
              forms.end());
  if (forms.empty() && LastFormUnloadedAction()) LastFormUnloadedAction()();
}

bool AnyFormLoaded() { return !LoadedForms().empty(); }

void UnloadAllForms() {
  while (!LoadedForms().empty()) LoadedForms().back().unload();
  DeleteUnloadedForms();
}

void DeleteUnloadedForms() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace detail {
// A form may be unloaded from inside one of its own handlers, so it is deleted once control is
// back in the event loop, never in the middle of its own code.
void DeferredFormDeleter::operator()(Form* form) const {
  if (QCoreApplication::instance() != nullptr) {
    form->deleteLater();
  } else {
    delete form;
  }
}
}  // namespace detail

}  // namespace platform
