#pragma once
// Whether a person watches standard error: a terminal (a console on Windows), not a
// pipe or a file, where a line rewritten in place would be noise.

namespace velmorta {

bool StandardErrorIsTerminal();

}  // namespace velmorta
