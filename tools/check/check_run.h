#pragma once
// brindle-check's command line: options, the files named or found under the directories named,
// and the report, compiler-style or as one JSON document.
#include <iosfwd>
#include <string>
#include <vector>

namespace brindle::check {

// Exit status: 0 clean (warnings allowed), 1 errors found, 2 a path or file could not be read
// (or the command line is wrong).
int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace brindle::check
