// The size of a multi-line text in a fixed-pitch font: the longest line's
// character count (a two-byte character counts one) times the character
// pitch, and the line count times the line pitch.
#pragma once
#include <string_view>

class Font;

void GetMultiLineExtent(const Font& font, int& width, int& height, std::string_view text);
