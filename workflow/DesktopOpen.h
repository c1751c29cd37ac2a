#pragma once
// Handing a file to the desktop's program for its type.

#include <QString>

namespace vorn {

// Opens `path` with the desktop's default program (xdg-open) and says whether
// that really happened. Starting the opener is not enough: without a program
// for the type it starts, fails and exits non-zero. Its exit is waited for up
// to a few seconds; an opener still running then holds the program it started,
// which counts as opened.
bool OpenWithDesktop(const QString& path);

} // namespace vorn
