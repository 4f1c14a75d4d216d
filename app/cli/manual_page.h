// The manual page of zscan (zscan.1, roff), made from the help text.
#pragma once

#include <string>

namespace zscan {

std::string manual_page();

}  // namespace zscan
