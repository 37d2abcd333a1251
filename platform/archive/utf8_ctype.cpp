#include "platform/archive/utf8_ctype.h"

#include <langinfo.h>

#include <cstring>

namespace platform {

ScopedUtf8Ctype::ScopedUtf8Ctype() {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (utf8_ != static_cast<locale_t>(nullptr)) previous_ = uselocale(utf8_);
}

ScopedUtf8Ctype::~ScopedUtf8Ctype() {
  if (utf8_ == static_cast<locale_t>(nullptr)) return;
  uselocale(previous_);
  freelocale(utf8_);
}

}  // namespace platform
