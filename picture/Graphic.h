#pragma once
// The abstract picture and the progress report every graphic kind sends.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Palette.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Stream.h"

enum class TProgressStage : uint8_t { Starting = 0, Running = 1, Ending = 2 };

using TProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                          const TRect& R, const std::string& Msg)>;

class TGraphic;

// A graphic kind: the class used as a factory by the registry and the container.
struct TGraphicClass {
  const char* Name;
  const TGraphicClass* Parent;
  std::unique_ptr<TGraphic> (*Create)();

  bool InheritsFrom(const TGraphicClass& other) const {
    for (const TGraphicClass* c = this; c; c = c->Parent)
      if (c == &other) return true;
    return false;
  }
};

class TGraphic : public TPersistent {
 public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  static const TGraphicClass& StaticClass();
  virtual const TGraphicClass& ClassType() const = 0;
  std::string ClassName() const override { return ClassType().Name; }

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  // Raises OnChange with the graphic itself as sender.
  virtual void NotifyChanged(TObject* Sender);
  // Draws the whole picture scaled into the rectangle of the canvas.
  virtual void Render(gdi::TCanvas& Canvas, const TRect& Rect) = 0;
  virtual bool SameAs(TGraphic* Other);
  virtual bool IsEmpty() = 0;
  virtual int32_t Height() = 0;
  virtual gdi::HPALETTE Palette() { return nullptr; }
  virtual bool Transparent() { return transparent_; }
  virtual int32_t Width() = 0;
  virtual void ReadStoredData(TStream& Stream) { LoadStream(Stream); }
  virtual void SetHeight(int32_t Value) = 0;
  virtual void SetPalette(gdi::HPALETTE) {}
  virtual void SetTransparent(bool Value);
  virtual void SetWidth(int32_t Value) = 0;
  virtual void WriteStoredData(TStream& Stream) { SaveStream(Stream); }
  // Opens the file read-only, reads it with LoadStream from position 0, closes it.
  virtual void LoadFile(const std::string& FileName);
  virtual void SaveFile(const std::string& FileName);
  virtual void LoadStream(TStream& Stream) = 0;
  virtual void SaveStream(TStream& Stream) = 0;

  // Raises OnProgress with the same arguments when it is set.
  virtual void ReportProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                              const TRect& R, const std::string& Msg);

  bool PaletteDirty() const { return paletteDirty_; }
  void SetPaletteDirty(bool value) { paletteDirty_ = value; }

 protected:
  bool transparent_ = false;

 private:
  bool paletteDirty_ = false;
};

// Declares the class plumbing of a graphic kind inside its class body.
#define MIRELUNE_GRAPHIC_KIND()                                      \
 public:                                                             \
  static const TGraphicClass& StaticClass();                         \
  const TGraphicClass& ClassType() const override { return StaticClass(); }

// Defines StaticClass() of a graphic kind with a default constructor.
#define MIRELUNE_DEFINE_GRAPHIC_KIND(Class, Parent)                                           \
  const TGraphicClass& Class::StaticClass() {                                                 \
    static const TGraphicClass kind{#Class, &Parent::StaticClass(),                           \
                                    []() -> std::unique_ptr<TGraphic> { return std::make_unique<Class>(); }}; \
    return kind;                                                                              \
  }
