#pragma once
// The picture container: holds at most one graphic, loads files through the registry and
// passes change and progress notifications on to its owner.

#include <memory>
#include <string>

#include "picture/Graphic.h"

class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  std::string ClassName() const override { return "TPicture"; }

  TGraphic* Graphic() const { return graphic_.get(); }
  // None frees the current graphic; a graphic is copied into a new one of the same kind.
  // Either way the change handler runs once.
  void SetGraphic(TGraphic* Value);

  // Replaces the graphic by one read from the named file; on failure the old one stays and
  // nothing is notified.
  void LoadFile(const std::string& FileName);

  int32_t Width() const;
  int32_t Height() const;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  // The stored form: a class-name byte count (0..63), the name, then the graphic's stored form.
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream) const;

 private:
  void TakeGraphic(std::unique_ptr<TGraphic> graphic);
  void Changed(TObject* Sender);
  void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                const std::string& Msg);
  void Hook(TGraphic& graphic);

  std::unique_ptr<TGraphic> graphic_;
};

// The extension of a file name: what follows the last '.', when no '/' or ':' comes after
// it; empty otherwise.  The case is kept.
std::string GraphicExtension(const std::string& FileName);
