#pragma once
// Text values in the settings file: the reader removes one enclosing pair of matching quotes,
// so a value that itself begins and ends with the same quote is written inside one more pair
// of double quotes and reads back unchanged.

#include <string>
#include <string_view>

class TIniFile;

std::string QuoteTextValue(std::string_view value);
void WriteTextValue(TIniFile& ini, std::string_view section, std::string_view key, std::string_view value);
