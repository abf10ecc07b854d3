#pragma once
// The profile-file interface: a settings file of sections and "key=value" lines, read and
// written key by key.  A bare file name lives in the Windows directory, which here is the
// user's configuration folder.
//
// Every write reads the file afresh, changes the one line and replaces the whole file by a
// complete new copy (a temporary file in the same folder, flushed, then renamed over the old
// one), under an advisory lock on the folder, so that neither a crash, a full disk nor another
// copy of the program writing at the same moment leaves a half-written or empty file.
// Releasing the object commits the folder entry to disk.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/IniText.h"
#include "platform/rtl/Object.h"

class TIniFile : public TObject {
 public:
  // fileName without a "/" is resolved in WindowsDirectory(); a path is used as it is.
  explicit TIniFile(std::string fileName);
  ~TIniFile() override;
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  // The name as given, which the write error names.
  const std::string& FileName() const { return fileName_; }
  // The file actually read and written.
  const std::string& Path() const { return path_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Raises EIniFileException "Impossible d'écrire dans <FileName>" when the write is refused.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  // "1" or "0"; read back as an integer other than 0.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The whole file as it is now (no file reads as empty).
  rtl::TIniText Load() const;

  // Commits what the writes have done to disk; also done by the destructor.
  void UpdateFile();

  // $XDG_CONFIG_HOME, else $HOME/.config (the passwd entry's home when HOME is unset).
  static std::string WindowsDirectory();

 private:
  [[noreturn]] void Refuse() const;

  std::string fileName_;
  std::string path_;
  std::string writtenFolder_;  // the folder whose entry a write changed, until committed
};
