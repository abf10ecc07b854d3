#include "settings/FormStorage.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/IniFile.h"
#include "settings/PropsStorage.h"
#include "settings/PublishedProps.h"

TFormStorage::TFormStorage(TComponent* AOwner) : TFormPlacement(AOwner) {}

void TFormStorage::Loaded() {
  TFormPlacement::Loaded();
  props_.clear();
  const TComponent* owner = Owner();
  if (owner == nullptr) return;
  for (const std::string& line : StoredProps) {
    const size_t dot = line.find('.');
    if (dot == std::string::npos) continue;
    const std::string component = rtl::Trim(line.substr(0, dot));
    const std::string prop = rtl::Trim(line.substr(dot + 1));
    if (component.empty() || prop.empty()) continue;
    if (TComponent* c = owner->FindComponent(component)) props_.push_back(StoredProp{c, c->Name(), prop});
  }
}

bool TFormStorage::StillThere(const StoredProp& p) const {
  const TComponent* owner = Owner();
  if (owner == nullptr) return false;
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (owner->Components(i) == p.Component) return rtl::SameText(p.Component->Name(), p.ComponentName);
  return false;
}

std::vector<TFormStorage::StoredProp> TFormStorage::Props() const {
  std::vector<StoredProp> out;
  for (const StoredProp& p : props_)
    if (StillThere(p)) out.push_back(p);
  return out;
}

void TFormStorage::RestorePlacement(TIniFile& ini) {
  TFormPlacement::RestorePlacement(ini);
  SetRestored();
  try {
    RestoreProperties(ini);
  } catch (...) {
    // A failure here must not stop the window from showing.
  }
}

void TFormStorage::SavePlacement(TIniFile& ini) {
  TFormPlacement::SavePlacement(ini);
  SaveProperties(ini);
}

void TFormStorage::RestoreProperties(TIniFile& ini) {
  const std::string section = IniSectionName();
  for (const StoredProp& p : Props()) {
    try {
      const TPropInfo* info = GetPropInfo(*p.Component, p.PropName);
      if (info == nullptr) continue;
      TPropsStorage(ini, section, *p.Component, p.Component->Name()).LoadProperty(*info);
    } catch (...) {
      // One property that cannot be read or assigned leaves the others to follow.
    }
  }
}

void TFormStorage::SaveProperties(TIniFile& ini) {
  const std::string section = IniSectionName();
  for (const StoredProp& p : Props()) {
    const TPropInfo* info = GetPropInfo(*p.Component, p.PropName);
    if (info == nullptr) continue;
    TPropsStorage(ini, section, *p.Component, p.Component->Name()).StoreProperty(*info);
  }
}
