#pragma once
// How the platform's profile functions, which wrote and read the users' *.MUX and settings
// files, see an INI text: a NUL byte does not end the file, the first of repeated sections and
// keys is the one read, and a value in matching quotes is read without them.
#include <string>
#include <string_view>

namespace qvr {

// The text with NUL bytes as blanks and every repeated section (with its lines) and every
// repeated key within a section left out; names compare without regard to letter case.
std::string FirstOccurrencesOnly(std::string_view text);
// A value enclosed in matching single or double quotes, without them; otherwise unchanged.
std::string_view Unquoted(std::string_view value);
// A value as it is written so that reading gives it back whole: in quotes when it is quoted
// already or starts or ends with a blank (readers strip those).
std::string QuotedWhereNeeded(std::string value);

}  // namespace qvr
