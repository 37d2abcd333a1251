#include "platform/browser/page_answer.h"

#include <cstring>
#include <type_traits>

namespace platform::browser {
namespace {

constexpr char kMagic[4] = {'L', 'X', 'P', 'A'};
constexpr std::uint8_t kVersion = 1;
// The fixed part of an element: tag, depth, form, four stretch values and the attribute count.
constexpr qsizetype kElementFixedBytes = 8 * 4;

class Writer {
 public:
  template <typename T>
  void put(T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void put(const QString& text) {
    put(static_cast<std::uint32_t>(text.size()));
    bytes_.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  }
  void putHeader(PageRefusal refusal) {
    bytes_.append(kMagic, sizeof kMagic);
    put(kVersion);
    put(static_cast<std::uint8_t>(refusal));
  }
  void reserve(qsizetype bytes) { bytes_.reserve(bytes); }
  QByteArray take() { return std::move(bytes_); }

 private:
  QByteArray bytes_;
};

// Reads the answer front to back; any read past its end, and any value a check turns down,
// spoils the cursor, and a spoilt cursor reads nothing more.
class Reader {
 public:
  explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  bool atEnd() const { return at_ == bytes_.size(); }
  qsizetype remaining() const { return bytes_.size() - at_; }
  // Spoils the cursor unless `holds`; returns it.
  bool check(bool holds) {
    ok_ = ok_ && holds;
    return ok_;
  }

  template <typename T>
  T get() {
    T value{};
    if (!check(remaining() >= static_cast<qsizetype>(sizeof value))) return value;
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    at_ += static_cast<qsizetype>(sizeof value);
    return value;
  }
  // A text; its length is checked against what is left before anything is allocated.
  QString text() {
    const auto units = static_cast<qsizetype>(get<std::uint32_t>());
    if (!check(units <= remaining() / 2)) return {};
    QString result(units, Qt::Uninitialized);
    std::memcpy(result.data(), bytes_.data() + at_, static_cast<std::size_t>(units) * 2);
    at_ += units * 2;
    return result;
  }
  bool skipMagic() {
    if (!check(remaining() >= static_cast<qsizetype>(sizeof kMagic))) return false;
    const bool same = std::memcmp(bytes_.data(), kMagic, sizeof kMagic) == 0;
    at_ += static_cast<qsizetype>(sizeof kMagic);
    return check(same);
  }

 private:
  QByteArrayView bytes_;
  qsizetype at_ = 0;
  bool ok_ = true;
};

bool WithinStretch(std::uint32_t start, std::uint32_t length, qsizetype size) {
  return static_cast<std::int64_t>(start) + static_cast<std::int64_t>(length) <= static_cast<std::int64_t>(size);
}

bool IsReaderRefusal(std::uint8_t value) {
  return value <= static_cast<std::uint8_t>(PageRefusal::Unreadable);
}

PageAnswer Bad() { return PageAnswer{PageRefusal::BadAnswer, {}}; }

// One element, checked against the elements before it: its tag is known, it lies at most one
// level below the element before it, its form is an earlier form element above it, its
// stretches lie inside the page's markup and text, and its attributes keep the limits.
bool ReadElement(Reader& in, PageContent& content, const PageLimits& limits, std::int64_t& attributes) {
  PageElement element;
  element.tag = in.get<std::uint32_t>();
  element.depth = in.get<std::int32_t>();
  element.form = in.get<std::int32_t>();
  const auto htmlStart = in.get<std::uint32_t>();
  const auto htmlLength = in.get<std::uint32_t>();
  const auto textStart = in.get<std::uint32_t>();
  const auto textLength = in.get<std::uint32_t>();
  const auto attributeCount = in.get<std::uint32_t>();
  const int index = static_cast<int>(content.elements.size());
  const int previousDepth = index == 0 ? 0 : content.elements.back().depth;
  in.check(element.tag < content.tags.size());
  in.check(element.depth >= 1 && element.depth <= limits.depth && element.depth <= previousDepth + 1);
  if (in.ok() && element.form != -1) {
    const bool earlier = element.form >= 0 && element.form < index;
    const PageElement* form = earlier ? &content.elements[static_cast<std::size_t>(element.form)] : nullptr;
    in.check(form && content.tags[form->tag] == QStringLiteral("form") && form->depth < element.depth);
  }
  in.check(WithinStretch(htmlStart, htmlLength, content.html.size()) &&
           WithinStretch(textStart, textLength, content.text.size()));
  attributes += attributeCount;
  in.check(attributeCount <= limits.attributesPerTag && attributes <= limits.attributes);
  if (!in.ok()) return false;
  element.htmlStart = htmlStart;
  element.htmlLength = htmlLength;
  element.textStart = textStart;
  element.textLength = textLength;
  element.attributes.reserve(attributeCount);
  for (std::uint32_t i = 0; i < attributeCount && in.ok(); ++i) {
    QString name = in.text();
    QString value = in.text();
    element.attributes.emplace_back(std::move(name), std::move(value));
  }
  content.elements.push_back(std::move(element));
  return in.ok();
}

}  // namespace

QString PageRefusalText(PageRefusal refusal) {
  switch (refusal) {
    case PageRefusal::None: return {};
    case PageRefusal::TooLarge: return QStringLiteral("the page is larger than %1 MB").arg(kMaxPageBytes / (1024 * 1024));
    case PageRefusal::TooDeep: return QStringLiteral("the page nests deeper than %1 levels").arg(kMaxNestingDepth);
    case PageRefusal::TooManyElements: return QStringLiteral("the page has more than %1 elements").arg(kMaxElements);
    case PageRefusal::TooManyAttributesInTag:
      return QStringLiteral("a tag of the page has more than %1 attributes").arg(kMaxAttributesPerTag);
    case PageRefusal::TooManyAttributes: return QStringLiteral("the page has more than %1 attributes").arg(kMaxAttributes);
    case PageRefusal::Unreadable: return QStringLiteral("the page cannot be read");
    case PageRefusal::BadAnswer: return QStringLiteral("the page reader gave a damaged answer");
    case PageRefusal::OutOfTime: return QStringLiteral("the page could not be read in time");
    case PageRefusal::OutOfMemory: return QStringLiteral("the page needs more memory than allowed");
    case PageRefusal::ReaderFailed: return QStringLiteral("the page reader failed");
    case PageRefusal::ReaderMissing: return QStringLiteral("the page reader could not be started");
  }
  return QStringLiteral("the page was refused");
}

QByteArray EncodePageAnswer(const PageAnswer& answer) {
  Writer out;
  out.putHeader(answer.refusal);
  if (answer.refusal != PageRefusal::None) return out.take();
  const PageContent& content = answer.content;
  // The markup and the text make most of the answer; one allocation takes them.
  out.reserve((content.html.size() + content.text.size()) * 2 +
              static_cast<qsizetype>(content.elements.size()) * (kElementFixedBytes + 16) + 1024);
  out.put(static_cast<std::uint32_t>(content.tags.size()));
  for (const QString& tag : content.tags) out.put(tag);
  out.put(content.html);
  out.put(content.text);
  out.put(static_cast<std::uint32_t>(content.elements.size()));
  for (const PageElement& element : content.elements) {
    out.put(element.tag);
    out.put(static_cast<std::int32_t>(element.depth));
    out.put(static_cast<std::int32_t>(element.form));
    out.put(static_cast<std::uint32_t>(element.htmlStart));
    out.put(static_cast<std::uint32_t>(element.htmlLength));
    out.put(static_cast<std::uint32_t>(element.textStart));
    out.put(static_cast<std::uint32_t>(element.textLength));
    out.put(static_cast<std::uint32_t>(element.attributes.size()));
    for (const auto& [name, value] : element.attributes) {
      out.put(name);
      out.put(value);
    }
  }
  return out.take();
}

PageAnswer DecodePageAnswer(QByteArrayView bytes, const PageLimits& limits) {
  Reader in(bytes);
  if (!in.skipMagic() || in.get<std::uint8_t>() != kVersion) return Bad();
  const auto refusal = in.get<std::uint8_t>();
  if (!in.check(IsReaderRefusal(refusal))) return Bad();
  if (refusal != static_cast<std::uint8_t>(PageRefusal::None)) {
    return in.atEnd() ? PageAnswer{static_cast<PageRefusal>(refusal), {}} : Bad();
  }
  PageAnswer answer;
  PageContent& content = answer.content;
  const auto tagCount = in.get<std::uint32_t>();
  // Each tag takes at least its length; the check comes before anything is reserved.
  if (!in.check(tagCount <= limits.elements && tagCount <= in.remaining() / 4)) return Bad();
  content.tags.reserve(tagCount);
  for (std::uint32_t i = 0; i < tagCount && in.ok(); ++i) {
    content.tags.push_back(in.text());
    in.check(!content.tags.back().isEmpty());
  }
  content.html = in.text();
  content.text = in.text();
  const auto elementCount = in.get<std::uint32_t>();
  if (!in.check(elementCount <= limits.elements && elementCount <= in.remaining() / kElementFixedBytes)) return Bad();
  content.elements.reserve(elementCount);
  std::int64_t attributes = 0;
  for (std::uint32_t i = 0; i < elementCount; ++i) {
    if (!ReadElement(in, content, limits, attributes)) return Bad();
  }
  if (!in.check(in.atEnd())) return Bad();
  return answer;
}

}  // namespace platform::browser
