#pragma once
// One JSON object as the line qvrctl prints: names and values from adapters and files may hold
// bytes that are not UTF-8, which become U+FFFD instead of ending the program.
#include <nlohmann/json.hpp>
#include <string>

namespace qvr::cli {

inline std::string JsonText(const nlohmann::json& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace qvr::cli
