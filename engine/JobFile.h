#pragma once
// Batch job files: text in the defaults file's Name=Value form (names compared
// without case; blank lines and lines starting with '#' ignored), with
// repeated Sheet=LxW and Preset=LxW lines. Lengths are taken as written: the
// caller says whether they are inches or millimetres. Lines may end in CR LF,
// LF or a bare CR, and a UTF-8 byte order mark is passed over; messages show
// control characters as escapes. A name given twice, a name the job kind does
// not read and a flag other than True or False (any letter case) are refused,
// naming the line.

#include "PanelJob.h"

#include <istream>
#include <string>

namespace vorn {

// Each returns an empty string on success, else a message naming the line
// (or the missing name); the job is then left as it was.
std::string ReadPanelJob(std::istream& in, PanelJob& job);
std::string ReadArrayJob(std::istream& in, ArrayJob& job);

} // namespace vorn
