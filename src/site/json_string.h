// JSON string literals for byte strings, for every JSON the program writes
// (tsle-cli show --json, audit --format json).
#pragma once

#include <string>
#include <string_view>

// A JSON string literal for bytes: valid UTF-8 as it stands, every other byte
// as \u00XX with the byte's value. Control characters, DEL included, are
// escaped too, so that the output shown on a terminal cannot drive it.
std::string JsonString(std::string_view bytes);
