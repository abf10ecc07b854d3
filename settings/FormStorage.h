#pragma once
// The settings-storage component with a list of stored properties: each line names a
// component of the window and one of its published properties ("Panel1.Width"); they are
// saved after the placement and restored after it.

#include <string>
#include <vector>

#include "settings/FormPlacement.h"

class TFormStorage : public TFormPlacement {
 public:
  explicit TFormStorage(TComponent* AOwner);
  std::string ClassName() const override { return "TFormStorage"; }

  // The lines as designed, resolved by Loaded.
  std::vector<std::string> StoredProps;

  // Takes over the window's events and resolves the lines: each is split at its first "."
  // into a component name and a property name, both trimmed and not empty, and keeps the
  // component of that name; a line that cannot be split or names no component is dropped.
  void Loaded() override;

  struct StoredProp {
    TComponent* Component;  // owned by the window
    std::string ComponentName;
    std::string PropName;
  };
  // The resolved lines whose components still exist, in order.
  std::vector<StoredProp> Props() const;

 protected:
  void RestorePlacement(TIniFile& ini) override;
  void SavePlacement(TIniFile& ini) override;

 private:
  // A line is used only while its component is still among the window's under its name: a
  // component that was destroyed has left that list, and its lines are dropped.
  bool StillThere(const StoredProp& p) const;
  void RestoreProperties(TIniFile& ini);
  void SaveProperties(TIniFile& ini);

  std::vector<StoredProp> props_;
};
