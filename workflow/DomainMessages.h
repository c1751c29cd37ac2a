#pragma once
// The window's words for a value or job outside the engine's input domain;
// the engine's own text (DomainText) stays the command line's.

#include "InputDomain.h"

#include <QString>

namespace vorn {

// One line naming the field (as the window shows it), the value and the
// allowed range or bound. Empty for no problem.
QString DomainMessage(const DomainProblem& problem);

} // namespace vorn
