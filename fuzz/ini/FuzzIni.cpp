// The profile-file reader on arbitrary bytes: reads never fail, parsing alone changes
// nothing, and an edit changes exactly the one value it names while every other key reads
// back as before.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/Format.h"
#include "platform/rtl/IniText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsEditedKey(const std::string& section, const std::string& key) {
  return rtl::SameText(rtl::Trim(section), "TForm1") && rtl::SameText(key, "NormPos");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const rtl::TIniText text(bytes);
  Check(text.Text() == bytes);

  const auto sections = text.Sections();
  for (const std::string& s : sections) {
    for (const std::string& k : text.Keys(s)) {
      const auto v = text.Find(s, k);
      Check(v.has_value());
      Check(v->size() <= 4 * rtl::kIniMaxValueChars);
      (void)rtl::IniStrToInt(*v);
    }
  }

  rtl::TIniText edited(bytes);
  edited.Set("TForm1", "NormPos", "1,2,3,4");
  const rtl::TIniText reread(edited.Text());
  Check(reread.Find("TForm1", "NormPos") == std::optional<std::string>("1,2,3,4"));
  for (const std::string& s : sections) {
    for (const std::string& k : text.Keys(s)) {
      if (!IsEditedKey(s, k)) Check(reread.Find(s, k) == text.Find(s, k));
    }
  }
  return 0;
}
