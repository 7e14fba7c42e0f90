#pragma once
// Every text the converter writes to its run log or console, kept as the Shift-JIS
// bytes that are written.

#include <string_view>

namespace velmorta {

enum class Message {
  CannotOpenFile,
  NoConfigurationFile,
  BadOutputDirectory,
  BadLineWidthDefault,
  BadFixedLandDefault,
  BadAuxLandDefault,
  BadHoleDefault,
  BadApertureSetting,
  OutOfMemory,
  ConversionComplete,
};

// The Shift-JIS bytes of a message, without a line break.
std::string_view Bytes(Message message);

}  // namespace velmorta
