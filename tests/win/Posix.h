#pragma once
// Force-included into the Windows test programs (tests/CMakeLists.txt): SDL's entry wrapper,
// and the POSIX calls the tests make under the Windows C runtime's names.
#include <SDL_main.h> // main is SDL_main there, and must have C linkage

#include <cstdlib>
#include <direct.h>
#include <io.h>

inline int setenv(const char* name, const char* value, int overwrite)
{
    return !overwrite && std::getenv(name) ? 0 : _putenv_s(name, value);
}

/// The folder named by `pattern` with its trailing XXXXXX made unique, made anew. Under
/// Wine a path from the root is on the drive that maps the Unix root, so /tmp stays /tmp.
inline char* mkdtemp(char* pattern)
{
    return _mktemp(pattern) && _mkdir(pattern) == 0 ? pattern : nullptr;
}
