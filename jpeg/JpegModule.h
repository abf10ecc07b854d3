#pragma once
// Start-up and end of the JPEG module: the default settings from the screen, then the two
// extensions in the picture registry; the kind leaves the registry at the end.

// Keep one of these alive from before the main window exists until the end of the process.
class TJpegModule {
 public:
  TJpegModule();  // InitJpegSettings, then "jpeg" and "jpg"
  ~TJpegModule();  // UnregisterGraphicKind
  TJpegModule(const TJpegModule&) = delete;
  TJpegModule& operator=(const TJpegModule&) = delete;
};

// The two steps of start-up and the removal, for callers that do not hold the object.
void StartJpegModule();
void StopJpegModule();
