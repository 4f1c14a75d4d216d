// The target of a result book's link to a found book or its folder.
#pragma once

#include <string>
#include <string_view>

namespace zscan {

// `absolute_path` (in `charset`) as a link target.  A path a viewer takes
// as it stands is kept as it is.  A path holding a character that a
// target reads otherwise ("#" starts a place inside the target, "%" an
// escape), a control character (a line feed or tab of a POSIX file name)
// or bytes that are no character of `charset` becomes a file URI instead,
// in which every such byte, and each character a URI may not hold, is
// written as %XX: the link still opens that very file, and characters
// beyond ASCII stay readable.
std::string link_target(int charset, std::string_view absolute_path);

}  // namespace zscan
