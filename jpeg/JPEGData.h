#pragma once
// The bytes of a JPEG file, held once and shared by reference count between the images
// copied from one another.

#include <cstdint>
#include <memory>
#include <utility>

#include "platform/rtl/Stream.h"

// A holder counted by its owners: the last Release frees it.
class TSharedImage {
 public:
  TSharedImage() = default;
  TSharedImage(const TSharedImage&) = delete;
  TSharedImage& operator=(const TSharedImage&) = delete;

  void AddReference() { ++OwnerCount; }
  // Subtracts one owner; the last one frees the holder (after FreeResources).
  void Release();

  int32_t OwnerCount = 0;

 protected:
  virtual ~TSharedImage() = default;
  virtual void FreeResources() {}
};

class TJPEGData : public TSharedImage {
 public:
  // The file's bytes exactly as read, or none.
  std::unique_ptr<TMemoryStream> Bytes;
  int32_t HeaderHeight = 0;
  int32_t HeaderWidth = 0;
};

// One counted reference: AddReference when taken, Release when dropped.
template <class T>
class TSharedRef {
 public:
  TSharedRef() = default;
  explicit TSharedRef(T* holder) : holder_(holder) {
    if (holder_) holder_->AddReference();
  }
  TSharedRef(const TSharedRef& other) : TSharedRef(other.holder_) {}
  TSharedRef(TSharedRef&& other) noexcept : holder_(std::exchange(other.holder_, nullptr)) {}
  TSharedRef& operator=(TSharedRef other) noexcept {
    std::swap(holder_, other.holder_);
    return *this;
  }
  ~TSharedRef() {
    if (holder_) holder_->Release();
  }

  T* get() const { return holder_; }
  T* operator->() const { return holder_; }
  T& operator*() const { return *holder_; }
  explicit operator bool() const { return holder_ != nullptr; }
  friend bool operator==(const TSharedRef& a, const TSharedRef& b) { return a.holder_ == b.holder_; }

 private:
  T* holder_ = nullptr;
};

// A new, empty holder, already counted once.
inline TSharedRef<TJPEGData> NewJPEGData() { return TSharedRef<TJPEGData>(new TJPEGData); }
