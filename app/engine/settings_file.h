// The settings file Z-Scan.ini beside the executable: the target folder,
// the keyword texts, the list file and the two flags, one KEY="value" line
// each under the section [Z-Scan].
#pragma once

#include "engine/search_context.h"

#include <string>

namespace zscan {

// "<folder of the executable><separator>Z-Scan.ini".
std::string settings_file_path(const SearchContext &context);

// Reads the settings into the context.  A missing or unreadable file, a
// missing key or an over-long value leaves the context's value as it was.
void load_settings(SearchContext &context, const std::string &path);

// Rewrites the file with the context's settings.  0, or a negative code
// when it cannot be written.
int save_settings(const SearchContext &context, const std::string &path);

// Whether the context's settings differ from a snapshot taken when the
// settings were last loaded or saved.
bool settings_changed(const SearchContext &context, const FieldValues &snapshot);

}  // namespace zscan
