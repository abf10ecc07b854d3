#pragma once
// The settings-storage component of a window: keeps the window's placement in a section of
// a profile file, restores it when the window is shown and saves it when the window is asked
// whether it may close (and, when that save did not complete, when it is destroyed).  It takes
// over the window's show, close-query and destroy events and calls the handlers they had.

#include <cstdint>
#include <string>

#include "platform/vcl/Component.h"
#include "platform/vcl/Types.h"

class TForm;
class TIniFile;

enum TPlacementOption : uint8_t { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
using TPlacementOptions = uint8_t;

// Limits of the window's size and of its maximized size and position; all 0: none.
struct TWinMinMaxInfo {
  int MaxPosLeft = 0, MaxPosTop = 0, MaxSizeWidth = 0, MaxSizeHeight = 0;
  int MaxTrackWidth = 0, MaxTrackHeight = 0, MinTrackWidth = 0, MinTrackHeight = 0;
  bool DefaultMinMaxInfo() const;
};

class TFormPlacement : public TComponent {
 public:
  explicit TFormPlacement(TComponent* AOwner);
  ~TFormPlacement() override;

  std::string ClassName() const override { return "TFormPlacement"; }

  // Settings.
  std::string IniFileName;
  std::string IniSection;  // empty: the class name of the window
  TPlacementOptions Options = fpState | fpPosition;
  int Version = 0;
  bool Active = true;
  bool UseRegistry = false;  // the profile file is the one store here
  bool PreventResize = false;
  TWinMinMaxInfo MinMaxInfo;
  TNotifyEvent OnSavePlacement;
  TNotifyEvent OnRestorePlacement;

  // Run state.
  bool WasRestored() const { return wasRestored_; }
  bool WasSaved() const { return wasSaved_; }
  bool InDestroy() const { return inDestroy_; }

  // The window's design is loaded: take over its events.
  virtual void Loaded();

  void RestoreSettings();
  void SaveSettings();

  // The window that owns the component, if it is one.
  TForm* Form() const;
  std::string IniSectionName() const;

 protected:
  // Inside RestoreSettings, once the version allows it: the placement, then what derived
  // classes store.
  virtual void RestorePlacement(TIniFile& ini);
  // Inside SaveSettings, after "FormVersion": the placement keys and "Visible", then what
  // derived classes store.
  virtual void SavePlacement(TIniFile& ini);
  void SetRestored() { wasRestored_ = true; }

 private:
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormDestroy(TObject* Sender);
  void PutBackEvents();

  bool wasRestored_ = false;
  bool wasSaved_ = false;
  bool inDestroy_ = false;
  bool hooked_ = false;
  TNotifyEvent savedShow_;
  TCloseQueryEvent savedCloseQuery_;
  TNotifyEvent savedDestroy_;
};
