#pragma once
// The metafile's handle table: the slots its records create objects in, select from and
// delete, and the system's stock objects.

#include <cstdint>
#include <vector>

#include "platform/gdi/EmfObjects.h"

namespace gdi::emf {

class EmfObjectTable {
 public:
  // Slots 1 .. handles - 1 are the metafile's own (slot 0 is the metafile itself).
  explicit EmfObjectTable(uint32_t handles);

  // Stores an object; slot 0 and indexes past the most any metafile uses are ignored.
  void Put(uint32_t index, EmfObject object);
  void Remove(uint32_t index);
  // The object of a slot or, with the high bit set, a stock object; kind None when there
  // is nothing there.
  EmfObject Get(uint32_t index) const;

  static EmfObject Stock(uint32_t stockIndex);

 private:
  std::vector<EmfObject> slots_;
};

}  // namespace gdi::emf
