// Setting and removing environment variables of the test process on every
// system.
#pragma once

#include <cstdlib>

namespace parvex::testing {

inline void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);  // an empty value removes the variable there
#else
  setenv(name, value, 1);
#endif
}

inline void RemoveVariable(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  unsetenv(name);
#endif
}

}  // namespace parvex::testing
