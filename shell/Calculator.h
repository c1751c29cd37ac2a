#pragma once

namespace vorn {

// Starts the desktop's calculator, detached. Returns false when none was
// found or it did not start; the caller reports nothing.
bool StartCalculator();

} // namespace vorn
