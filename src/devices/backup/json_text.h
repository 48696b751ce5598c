#pragma once
// JSON as the programs write it (qvrctl's lines, the history, raw images): names and values from
// adapters and files may hold bytes that are not UTF-8, which become U+FFFD instead of ending the
// program, and controls, which are escaped so that a terminal showing the text never obeys them.
#include <nlohmann/json.hpp>
#include <string>

namespace qvr {

// `object` on one line (`indent` >= 0: indented by that many blanks), valid UTF-8 with every C0
// and C1 control (U+0000..U+001F, U+0080..U+009F) written as an escape ("\u0098").
std::string JsonText(const nlohmann::json& object, int indent = -1);

}  // namespace qvr
