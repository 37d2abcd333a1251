#pragma once
// libarchive converts entry names between the archive's code page and the character set of the
// calling thread's locale. Anything that reads or writes archive names holds a ScopedUtf8Ctype,
// so names arrive as UTF-8 whatever locale the program was started in (a "C" locale cannot hold
// Chinese names at all).

#include <locale.h>

namespace platform {

class ScopedUtf8Ctype {
 public:
  ScopedUtf8Ctype();
  ~ScopedUtf8Ctype();
  ScopedUtf8Ctype(const ScopedUtf8Ctype&) = delete;
  ScopedUtf8Ctype& operator=(const ScopedUtf8Ctype&) = delete;

 private:
  locale_t utf8_ = static_cast<locale_t>(nullptr);
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

}  // namespace platform
