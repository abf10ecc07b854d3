#include "settings/TextValue.h"

#include "platform/rtl/IniFile.h"

std::string QuoteTextValue(std::string_view value) {
  const bool enclosed = !value.empty() && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  if (!enclosed) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

void WriteTextValue(TIniFile& ini, std::string_view section, std::string_view key, std::string_view value) {
  ini.WriteString(section, key, QuoteTextValue(value));
}
