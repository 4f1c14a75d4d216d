// The shell completions of zscan, made from the same option table that
// --help prints, so that they never name an option zscan does not take.
#pragma once

#include <string>

namespace zscan {

// For bash-completion: completes options, files after -l and -o, and
// folders elsewhere.
std::string bash_completion();
// For zsh's completion system (#compdef zscan), with each option's help.
std::string zsh_completion();

}  // namespace zscan
