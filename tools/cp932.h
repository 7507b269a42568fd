#pragma once

#include <optional>
#include <string>

// Converts between UTF-8 and Shift-JIS (code page 932) through iconv.
// On failure the result is empty and *bad names the first character that has
// no form in the target encoding (as UTF-8, or as hex bytes for CP932 input).
std::optional<std::string> utf8ToCp932(const std::string& utf8, std::string* bad = nullptr);
std::optional<std::string> cp932ToUtf8(const std::string& sjis, std::string* bad = nullptr);
