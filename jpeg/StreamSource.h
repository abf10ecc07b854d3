#pragma once
// The data source through which libjpeg reads a JPEG image's bytes: blocks of 4096 bytes
// from a stream; a file cut short ends with an end-of-image marker, an empty one fails.

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "platform/rtl/Stream.h"

struct StreamSource {
  jpeg_source_mgr Manager;
  TStream* Stream;  // not owned
  JOCTET Buffer[4096];
  boolean StartOfFile;
};

// Makes Stream the data source of the decompressor (reusing its source when it has one).
// Allocates from the library's permanent pool: call it inside the error boundary.
void AttachStreamSource(j_decompress_ptr Decompressor, TStream& Stream);
