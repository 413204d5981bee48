#pragma once
// Images for the tests: one assembled through the writer's inputs, one laid down byte by byte.
#include <cstdint>
#include <string>

#include "common/bytes.h"
#include "image/image_writer.h"

namespace brindle::image::testing {

// Identifiers of the sample form.
inline constexpr uint32_t kMainWindow = 0x52010001;
inline constexpr uint32_t kWindowElement = 0x06010000;
inline constexpr uint32_t kUnit = 0x19010041;
inline constexpr uint32_t kTab = 0x16010002;
inline constexpr uint32_t kEdit = 0x16010010;     // page 0
inline constexpr uint32_t kGroup = 0x16010011;    // page 2 (page 1 is empty)
inline constexpr uint32_t kRadio = 0x16010012;    // inside the group box
inline constexpr uint32_t kButton = 0x16010013;   // page 2
inline constexpr uint32_t kLabel = 0x16010020;    // on the window
inline constexpr uint32_t kStore = 0x16010021;    // hidden text store at a negative left
inline constexpr uint32_t kMenuTitle = 0x2601014D;
inline constexpr uint32_t kMenuItem = 0x2601014E;
inline constexpr uint32_t kHighest = 0x00010353;  // the picture box's serial
inline constexpr int32_t kTrayEvent = 9;

// Code offsets of the sample code's routines.
inline constexpr uint32_t kEntry = 0x00;
inline constexpr uint32_t kClickRoutine = 0x24;

// Writer inputs covering every element kind, every relocation kind and all four reference lists.
ImageParts sample_parts();
Bytes sample_image();

// The same image as sample_image(), but every byte written by hand from the format's tables,
// with the reference lists' stored size 4 bytes short of what they take.
Bytes hand_built_image();
// The writer inputs that describe hand_built_image().
ImageParts hand_built_parts();

// A tiny 1×1 GIF and ICO for picture fields.
Bytes tiny_gif();
Bytes tiny_ico();

}  // namespace brindle::image::testing
