#pragma once
// A temporary folder of real pictures (and one file that only pretends to be one) for the
// main window's tests, and the main window built over it.

#include <filesystem>
#include <string>

namespace viewertest {

inline const char* kBaseline = "a_baseline.jpg";        // 227 x 149, one scan
inline const char* kProgressive = "b_progressive.jpg";  // 320 x 240, several scans
inline const char* kBitmap = "c_picture.bmp";           // 127 x 64, 24 bits
inline const char* kFake = "d_fake.jpg";                // text
inline const char* kDoomed = "e_gone.bmp";              // deleted after listing by the test that wants it
inline const char* kUndecodable = "f_broken.jpg";         // header reads, a later scan is refused
inline const char* kLarge = "g_large.jpg";              // 2000 x 3008, one scan

// Fills the folder from the shared sample pictures; answers false when they are absent.
bool MakeViewerFolder(const std::filesystem::path& folder);

}  // namespace viewertest
