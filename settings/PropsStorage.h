#pragma once
// Reads and writes the properties of one component in a section of the settings file, each
// under the key "<prefix>_<declared property name>", formatted by its kind: an integer in
// decimal, a Boolean by the name of its value ("True" or "False").

#include <string>

#include "settings/PublishedProps.h"

class TComponent;
class TIniFile;

class TPropsStorage {
 public:
  TPropsStorage(TIniFile& ini, std::string section, TComponent& component, std::string prefix);

  std::string KeyOf(const TPropInfo& prop) const;
  // The property's current value as the file holds it.
  std::string ValueText(const TPropInfo& prop) const;

  void StoreProperty(const TPropInfo& prop);
  // A missing key keeps the current value; an integer that is not one becomes 0; a Boolean
  // other than "True" or "False" in any case leaves the property as it is.
  void LoadProperty(const TPropInfo& prop);

 private:
  TIniFile& ini_;
  std::string section_;
  TComponent& component_;
  std::string prefix_;
};
