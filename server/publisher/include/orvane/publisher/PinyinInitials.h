#pragma once
// Pinyin initials of a stock name ("浦发银行" -> "PFYH"), the letters users
// type to find a stock. ICU's Han-Latin transliteration reads some characters
// of stock names wrongly (银行 as yin xing, 长 as zhang, 重庆 as zhong qing),
// so a table of such phrases is consulted first.

#include <string>
#include <string_view>

namespace orvane::server {

/// Upper-case initials: one letter per Chinese character, Latin letters and
/// digits kept as they are (upper-cased), everything else dropped.
std::string pinyinInitials(std::string_view nameUtf8);

}  // namespace orvane::server
