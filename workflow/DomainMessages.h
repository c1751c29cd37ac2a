#pragma once
// The window's words for a value or job outside the engine's input domain;
// the engine's own text (DomainText) stays the command line's.

#include "InputDomain.h"

#include <QString>

namespace vorn {

// One line naming the field (as the window shows it), the value and the
// allowed range or bound. Empty for no problem.
QString DomainMessage(const DomainProblem& problem);

// A refusal of the engine's own checks (PanelJobRefusal, GivenPanelRefusal,
// …) in the language of the windows.
QString RefusalMessage(const std::string& refusal);

} // namespace vorn
