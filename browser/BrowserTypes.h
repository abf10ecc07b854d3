#pragma once
// The small types of the three browser lists.

#include <cstdint>
#include <initializer_list>

enum TTextCase : uint8_t { tcLowerCase = 0, tcUpperCase = 1 };

enum TFileAttr : uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

// A set of TFileAttr.
class TFileType {
 public:
  constexpr TFileType(std::initializer_list<TFileAttr> attrs) {
    for (TFileAttr a : attrs) bits_ = static_cast<uint8_t>(bits_ | (1u << a));
  }
  constexpr bool Contains(TFileAttr a) const { return (bits_ >> a) & 1u; }
  friend constexpr bool operator==(TFileType, TFileType) = default;
  // The search's attribute filter: the bits of every member but ftNormal (read-only 1,
  // hidden 2, system 4, volume label 8, folder 16, archive 32).
  constexpr int AttributeFilter() const { return bits_ & 0x3F; }

 private:
  uint8_t bits_ = 0;
};
