// Preloaded into a program under test, this makes the system look as if
// its iconv knew no code page 932: opening a conversion from or to "CP932"
// fails, every other conversion is the system's own.
#include <dlfcn.h>
#include <iconv.h>
#include <strings.h>

#include <cerrno>

extern "C" iconv_t iconv_open(const char* to, const char* from) {
  if (strcasecmp(to, "CP932") == 0 || strcasecmp(from, "CP932") == 0) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  using Open = iconv_t (*)(const char*, const char*);
  static const Open open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "iconv_open"));
  return open(to, from);
}
