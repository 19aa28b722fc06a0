#pragma once
// Writing a whole file so that a reader never finds it half written: the text goes to a
// temporary file beside the target, which then takes the target's name in one step.

#include <string>

// Returns false with a reason in error when the file could not be written; the target is then
// as it was before, and no temporary file is left.
bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error);
