#pragma once
// Where the media host executable is: next to the running program, else in
// <program folder>/../libexec/lunohrai/ (the installed layout).

#include <string>

// The host's path, or an empty string when there is none.
std::string mediaHostExecutable();
