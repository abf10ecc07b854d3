#include "settings/PropsStorage.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/IniText.h"
#include "settings/TextValue.h"

TPropsStorage::TPropsStorage(TIniFile& ini, std::string section, TComponent& component, std::string prefix)
    : ini_(ini), section_(std::move(section)), component_(component), prefix_(std::move(prefix)) {}

std::string TPropsStorage::KeyOf(const TPropInfo& prop) const { return prefix_ + "_" + prop.Name; }

std::string TPropsStorage::ValueText(const TPropInfo& prop) const {
  const int value = prop.Get(component_);
  if (prop.Kind == TTypeKind::tkBoolean) return value != 0 ? "True" : "False";
  return std::to_string(value);
}

void TPropsStorage::StoreProperty(const TPropInfo& prop) {
  WriteTextValue(ini_, section_, KeyOf(prop), rtl::Trim(ValueText(prop)));
}

void TPropsStorage::LoadProperty(const TPropInfo& prop) {
  const std::string text = rtl::Trim(ini_.ReadString(section_, KeyOf(prop), ValueText(prop)));
  if (prop.Kind == TTypeKind::tkBoolean) {
    if (rtl::SameText(text, "True")) {
      prop.Set(component_, 1);
    } else if (rtl::SameText(text, "False")) {
      prop.Set(component_, 0);
    }
    return;
  }
  prop.Set(component_, rtl::IniStrToInt(text).value_or(0));
}
