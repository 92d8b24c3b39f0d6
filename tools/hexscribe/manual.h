// The user's manual of hexscribe: the hexscribe notation, with sample
// listings this program produces.
#pragma once

#include <string_view>

// The manual text, without the final newline the program adds.
std::string_view hexscribeManual();
