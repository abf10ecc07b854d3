#include "jpeg/JPEGData.h"

void TSharedImage::Release() {
  if (--OwnerCount == 0) {
    FreeResources();
    delete this;
  }
}
