#include "picture/FileFormatsList.h"

#include <algorithm>
#include <memory>

#include "picture/Bitmap.h"
#include "picture/Icon.h"
#include "picture/Metafile.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

void TFileFormatsList::AddFormat(const std::string& Extension, const std::string& Description,
                                 const TGraphicClass& Kind, int32_t TextResourceId) {
  entries_.push_back(TFileFormat{&Kind, rtl::LowerCase(Extension), Description, TextResourceId});
}

const TGraphicClass* TFileFormatsList::FindByExt(const std::string& Extension) const {
  const std::string ext = rtl::LowerCase(Extension);
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (it->Ext == ext) return it->Kind;
  return nullptr;
}

const TGraphicClass* TFileFormatsList::FindByClassName(const std::string& Name) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (Name == it->Kind->Name) return it->Kind;
  return nullptr;
}

void TFileFormatsList::RemoveKind(const TGraphicClass& Kind) {
  std::erase_if(entries_, [&](const TFileFormat& f) { return f.Kind->InheritsFrom(Kind); });
}

namespace {
std::unique_ptr<TFileFormatsList>& Registry() {
  static std::unique_ptr<TFileFormatsList> registry;
  return registry;
}
}  // namespace

TFileFormatsList& FormatRegistry() {
  auto& r = Registry();
  if (!r) {
    r = std::make_unique<TFileFormatsList>();
    r->AddFormat("wmf", msg::SVMetafiles, TMetafile::StaticClass(), 0);
    r->AddFormat("emf", msg::SVEnhMetafiles, TMetafile::StaticClass(), 0);
    r->AddFormat("ico", msg::SVIcons, TIcon::StaticClass(), 0);
    r->AddFormat("bmp", msg::SVBitmaps, TBitmap::StaticClass(), 0);
  }
  return *r;
}

bool FormatRegistryExists() { return Registry() != nullptr; }
void FreeFormatRegistry() { Registry().reset(); }

void RegisterFormat(const std::string& Extension, const std::string& Description, const TGraphicClass& Kind) {
  FormatRegistry().AddFormat(Extension, Description, Kind, 0);
}

void UnregisterGraphicKind(const TGraphicClass& Kind) {
  if (FormatRegistryExists()) Registry()->RemoveKind(Kind);
}
