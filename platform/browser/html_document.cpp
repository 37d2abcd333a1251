#include "platform/browser/html_document.h"

namespace platform::browser {
namespace {

const PageElement* ElementAt(const PageContent& content, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < content.elements.size()
             ? &content.elements[static_cast<std::size_t>(index)]
             : nullptr;
}

}  // namespace

HtmlDocument HtmlDocument::FromAnswer(QByteArrayView answer, const QUrl& address) {
  PageAnswer read = DecodePageAnswer(answer);
  if (read.refusal != PageRefusal::None) return Refused(read.refusal, address);
  HtmlDocument document;
  document.address_ = address;
  document.content_ = std::move(read.content);
  return document;
}

HtmlDocument HtmlDocument::Refused(PageRefusal why, const QUrl& address) {
  HtmlDocument document;
  document.address_ = address;
  document.refusal_ = why;
  return document;
}

int HtmlDocument::byName(const QString& name, int nth) const {
  for (int i = 0; i < count(); ++i) {
    if (attribute(i, "name") == name && nth-- == 0) return i;
  }
  return -1;
}

int HtmlDocument::byId(const QString& id) const {
  for (int i = 0; i < count(); ++i) {
    if (attribute(i, "id") == id) return i;
  }
  return -1;
}

int HtmlDocument::form(int nth) const {
  for (int i = 0; i < count(); ++i) {
    if (tag(i) == "form" && nth-- == 0) return i;
  }
  return -1;
}

int HtmlDocument::formByName(const QString& name) const {
  for (int i = 0; i < count(); ++i) {
    if (tag(i) == "form" && attribute(i, "name") == name) return i;
  }
  return -1;
}

int HtmlDocument::fieldOfForm(int formIndex, const QString& name) const {
  if (formIndex < 0) return -1;
  for (int i = formIndex + 1; i < count(); ++i) {
    if (formOf(i) == formIndex && attribute(i, "name") == name) return i;
  }
  return -1;
}

int HtmlDocument::formOf(int index) const {
  const PageElement* element = ElementAt(content_, index);
  return element ? element->form : -1;
}

QString HtmlDocument::tag(int index) const {
  const PageElement* element = ElementAt(content_, index);
  return element ? content_.tags[element->tag] : QString();
}

int HtmlDocument::depth(int index) const {
  const PageElement* element = ElementAt(content_, index);
  return element ? element->depth : 0;
}

QString HtmlDocument::attribute(int index, const QString& name) const {
  const PageElement* element = ElementAt(content_, index);
  if (!element) return {};
  const QString wanted = name.toLower();
  for (const auto& [key, value] : element->attributes) {
    if (key == wanted) return value;
  }
  return {};
}

bool HtmlDocument::hasAttribute(int index, const QString& name) const {
  const PageElement* element = ElementAt(content_, index);
  if (!element) return false;
  const QString wanted = name.toLower();
  for (const auto& attribute : element->attributes) {
    if (attribute.first == wanted) return true;
  }
  return false;
}

QString HtmlDocument::innerText(int index) const {
  if (index < 0 || index >= count()) return {};
  if (tag(index) == "textarea") return value(index);
  return ownText(index);
}

QString HtmlDocument::ownText(int index) const {
  const PageElement* element = ElementAt(content_, index);
  return element ? content_.text.mid(element->textStart, element->textLength) : QString();
}

QString HtmlDocument::outerHtml(int index) const {
  const PageElement* element = ElementAt(content_, index);
  return element ? content_.html.mid(element->htmlStart, element->htmlLength) : QString();
}

QString HtmlDocument::href(int index) const {
  const QString link = attribute(index, "href");
  return link.isEmpty() ? QString() : address_.resolved(QUrl(link)).toString();
}

QString HtmlDocument::value(int index) const {
  const auto changed = values_.find(index);
  if (changed != values_.end()) return changed->second;
  const QString kind = tag(index);
  if (kind == "textarea") return ownText(index);
  if (kind == "select") {
    int first = -1;
    for (int i = index + 1; i < count() && tag(i) == "option"; ++i) {
      if (first < 0) first = i;
      if (hasAttribute(i, "selected")) first = i;
    }
    if (first < 0) return {};
    const QString optionValue = attribute(first, "value");
    return optionValue.isEmpty() ? innerText(first) : optionValue;
  }
  return attribute(index, "value");
}

void HtmlDocument::setValue(int index, const QString& value) {
  if (index >= 0 && index < count()) values_[index] = value;
}

FormSubmission HtmlDocument::submission(int formIndex, int submitter) const {
  FormSubmission sent;
  const QString action = attribute(formIndex, "action");
  sent.url = action.isEmpty() ? address_ : address_.resolved(QUrl(action));
  sent.post = attribute(formIndex, "method").compare("post", Qt::CaseInsensitive) == 0;
  QByteArray fields;
  auto add = [&fields](const QString& name, const QString& value) {
    if (!fields.isEmpty()) fields += '&';
    fields += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
  };
  for (int i = formIndex + 1; i < count() && formIndex >= 0; ++i) {
    if (formOf(i) != formIndex) continue;
    const QString name = attribute(i, "name");
    const QString kind = tag(i);
    if (name.isEmpty() || hasAttribute(i, "disabled")) continue;
    if (kind == "input") {
      const QString type = attribute(i, "type").toLower();
      if (type == "submit" || type == "button" || type == "image" || type == "reset" || type == "file") {
        if (i == submitter) add(name, value(i));
        continue;
      }
      if ((type == "checkbox" || type == "radio") && !hasAttribute(i, "checked")) continue;
      add(name, value(i));
    } else if (kind == "button") {
      if (i == submitter) add(name, value(i));
    } else if (kind == "textarea" || kind == "select") {
      add(name, value(i));
    }
  }
  if (sent.post) {
    sent.body = fields;
  } else {
    sent.url.setQuery(QString::fromLatin1(fields), QUrl::StrictMode);
  }
  return sent;
}

}  // namespace platform::browser
