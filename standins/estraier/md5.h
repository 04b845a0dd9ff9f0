// MD5 message digest, for the "@digest" attribute of stored documents.
#pragma once

#include <string>
#include <string_view>

namespace estraier_standin {

// The digest of data as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view data);

}  // namespace estraier_standin
