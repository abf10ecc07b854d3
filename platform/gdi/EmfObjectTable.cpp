#include "platform/gdi/EmfObjectTable.h"

#include <algorithm>

#include "platform/gdi/EmfConstants.h"

namespace gdi::emf {

uint32_t EmfPen::Style() const { return style & PS_STYLE_MASK; }

namespace {

// A handle count beyond what any metafile uses would only waste memory.
constexpr uint32_t kMaxHandles = 65536;

EmfObject BrushObject(uint32_t style, COLORREF color) {
  auto b = std::make_shared<EmfBrush>();
  b->style = style;
  b->color = color;
  return EmfObject{EmfObjectKind::Brush, {}, std::move(b), {}};
}

EmfObject PenObject(uint32_t style, COLORREF color) {
  auto p = std::make_shared<EmfPen>();
  p->style = style;
  p->color = color;
  return EmfObject{EmfObjectKind::Pen, std::move(p), {}, {}};
}

EmfObject FontObject(const char* face, int32_t height, int32_t weight) {
  auto f = std::make_shared<EmfFont>();
  f->faceName = QString::fromLatin1(face);
  f->height = height;
  f->weight = weight;
  return EmfObject{EmfObjectKind::Font, {}, {}, std::move(f)};
}

}  // namespace

EmfObjectTable::EmfObjectTable(uint32_t handles) : slots_(std::min(std::max(handles, 1u), kMaxHandles)) {}

void EmfObjectTable::Put(uint32_t index, EmfObject object) {
  if (index == 0 || index >= kMaxHandles) return;
  // Headers that count fewer handles than their records use are common among damaged
  // files; the table grows so that their objects are still drawn.
  if (index >= slots_.size()) slots_.resize(index + 1);
  slots_[index] = std::move(object);
}

void EmfObjectTable::Remove(uint32_t index) {
  if (index == 0 || index >= slots_.size()) return;
  slots_[index] = EmfObject{};
}

EmfObject EmfObjectTable::Get(uint32_t index) const {
  if (index & kStockFlag) return Stock(index & ~kStockFlag);
  if (index >= slots_.size()) return EmfObject{};
  return slots_[index];
}

EmfObject EmfObjectTable::Stock(uint32_t stockIndex) {
  switch (stockIndex) {
    case WHITE_BRUSH: return BrushObject(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return BrushObject(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return BrushObject(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return BrushObject(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return BrushObject(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return BrushObject(BS_NULL, 0);
    case DC_BRUSH: return BrushObject(BS_SOLID, RGB(255, 255, 255));
    case WHITE_PEN: return PenObject(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return PenObject(PS_SOLID, RGB(0, 0, 0));
    case DC_PEN: return PenObject(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return PenObject(PS_NULL, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: return FontObject("Courier New", 12, 400);
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT: return FontObject("Arial", -11, 400);
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: return FontObject("Arial", 16, 700);
    case DEFAULT_PALETTE: return EmfObject{EmfObjectKind::Palette, {}, {}, {}};
    default: return EmfObject{};
  }
}

}  // namespace gdi::emf
