#pragma once
// The process-wide registry of file extensions and the graphic kinds that read them.

#include <cstdint>
#include <string>
#include <vector>

#include "picture/Graphic.h"

struct TFileFormat {
  const TGraphicClass* Kind = nullptr;
  std::string Ext;  // lower case, without the dot
  std::string DescText;
  int32_t TextResourceId = 0;
};

class TFileFormatsList {
 public:
  // Appends an entry; the extension is stored in lower case.  No check for duplicates.
  void AddFormat(const std::string& Extension, const std::string& Description, const TGraphicClass& Kind,
                 int32_t TextResourceId);
  // The kind for an extension (lowered, walked from the last entry), or none.
  const TGraphicClass* FindByExt(const std::string& Extension) const;
  // The kind whose class name equals Name exactly (walked from the last entry), or none.
  const TGraphicClass* FindByClassName(const std::string& Name) const;
  // Removes every entry whose kind is Kind or derives from it.
  void RemoveKind(const TGraphicClass& Kind);

  const std::vector<TFileFormat>& Entries() const { return entries_; }

 private:
  std::vector<TFileFormat> entries_;
};

// The registry, created on first use with the rows for wmf, emf, ico and bmp.
TFileFormatsList& FormatRegistry();
bool FormatRegistryExists();
// Frees the registry (at the end of the process).
void FreeFormatRegistry();

void RegisterFormat(const std::string& Extension, const std::string& Description, const TGraphicClass& Kind);
// Removes the kind when the registry exists; does not create it.
void UnregisterGraphicKind(const TGraphicClass& Kind);
