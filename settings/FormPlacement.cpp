#include "settings/FormPlacement.h"

#include <exception>

#include "platform/rtl/IniFile.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"
#include "settings/Placement.h"

namespace {

constexpr const char* kFormVersion = "FormVersion";
constexpr const char* kVisible = "Visible";

// A failed restore or save goes to the application's exception box; the event goes on.
template <class F>
void ReportFailure(F&& f) {
  try {
    f();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(std::current_exception());
  }
}

}  // namespace

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
  return MaxPosLeft == 0 && MaxPosTop == 0 && MaxSizeWidth == 0 && MaxSizeHeight == 0 && MaxTrackWidth == 0 &&
         MaxTrackHeight == 0 && MinTrackWidth == 0 && MinTrackHeight == 0;
}

TFormPlacement::TFormPlacement(TComponent* AOwner) : TComponent(AOwner) {}

TFormPlacement::~TFormPlacement() {
  // Freed by its window, the window is going anyway; freed alone, it gives the events back.
  if (Owner() != nullptr && !Owner()->Destroying()) PutBackEvents();
}

TForm* TFormPlacement::Form() const { return dynamic_cast<TForm*>(Owner()); }

std::string TFormPlacement::IniSectionName() const {
  if (!IniSection.empty()) return IniSection;
  return Owner() != nullptr ? Owner()->ClassName() : std::string();
}

void TFormPlacement::Loaded() {
  TForm* form = Form();
  if (form == nullptr || hooked_) return;
  hooked_ = true;
  savedShow_ = form->OnShow;
  savedCloseQuery_ = form->OnCloseQuery;
  savedDestroy_ = form->OnDestroy;
  form->OnShow = [this](TObject* Sender) { FormShow(Sender); };
  form->OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  form->OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
}

void TFormPlacement::PutBackEvents() {
  TForm* form = Form();
  if (form == nullptr || !hooked_) return;
  hooked_ = false;
  form->OnShow = savedShow_;
  form->OnCloseQuery = savedCloseQuery_;
  form->OnDestroy = savedDestroy_;
}

void TFormPlacement::FormShow(TObject* Sender) {
  if (Active) ReportFailure([this] { RestoreSettings(); });
  if (savedShow_) savedShow_(Sender);
}

void TFormPlacement::FormCloseQuery(TObject* Sender, bool& CanClose) {
  if (savedCloseQuery_) savedCloseQuery_(Sender, CanClose);
  if (CanClose && Active) ReportFailure([this] { SaveSettings(); });
}

void TFormPlacement::FormDestroy(TObject* Sender) {
  if (Active && !wasSaved_) {
    inDestroy_ = true;
    ReportFailure([this] { SaveSettings(); });
    inDestroy_ = false;
  }
  if (savedDestroy_) savedDestroy_(Sender);
}

void TFormPlacement::RestoreSettings() {
  wasSaved_ = false;
  // Every run counts as a restore, also one that ends in an exception.
  struct MarkRestored {
    bool& flag;
    ~MarkRestored() { flag = true; }
  } mark{wasRestored_};
  {
    TIniFile ini(IniFileName);
    const std::string section = IniSectionName();
    if (ini.ReadInteger(section, kFormVersion, 0) >= Version) {
      RestorePlacement(ini);
      if (OnRestorePlacement) OnRestorePlacement(this);
    }
    wasRestored_ = true;
  }
  TForm* form = Form();
  if (form != nullptr && !PreventResize && MinMaxInfo.DefaultMinMaxInfo()) FixMaximizedPosition(*form);
}

void TFormPlacement::RestorePlacement(TIniFile& ini) {
  TForm* form = Form();
  if (form == nullptr) return;
  ReadWindowPlacement(*form, ini, IniSectionName(), (Options & fpState) != 0, (Options & fpPosition) != 0);
}

void TFormPlacement::SaveSettings() {
  if (!wasRestored_) return;  // a window never shown has nothing worth keeping
  TIniFile ini(IniFileName);
  ini.WriteInteger(IniSectionName(), kFormVersion, Version);
  SavePlacement(ini);
  if (OnSavePlacement) OnSavePlacement(this);
  wasSaved_ = true;
}

void TFormPlacement::SavePlacement(TIniFile& ini) {
  TForm* form = Form();
  if (form == nullptr) return;
  const std::string section = IniSectionName();
  WriteWindowPlacement(*form, ini, section);
  ini.WriteBool(section, kVisible, inDestroy_);
}
