#pragma once
// The launcher's failure messages; the first failure of a launch shows one of them. Tests and users
// search for these exact texts, so they change only together with their tests.
#include <string_view>

namespace brindle::messages {

inline constexpr std::string_view kCantOpenFile = "Can't open file!";
inline constexpr std::string_view kInvalidData = "Invalid data in the file!";
inline constexpr std::string_view kFailedToReadData = "Failed to read data from the file!";
inline constexpr std::string_view kInsufficientMemory = "Insufficient memory!";
inline constexpr std::string_view kFailedToReadFile = "Failed to read file or invalid data in file!";
inline constexpr std::string_view kNoTempDirectory = "Can't retrieve the temporary directory!";
inline constexpr std::string_view kDecompressFailed = "Failed to decompress data!";
inline constexpr std::string_view kKernelNotFound = "Not found the kernel library!";
inline constexpr std::string_view kKernelLoadFailed = "Failed to load kernel library!";
inline constexpr std::string_view kKernelInvalid = "The kernel library is invalid!";
inline constexpr std::string_view kKernelInterfaceInvalid = "The interface of kernel library is invalid!";
// Added on this platform: a shared temp directory and long paths need their own refusals.
inline constexpr std::string_view kCantUseExtractionDir = "Can't use the extraction directory!";
inline constexpr std::string_view kPathTooLong = "The path is too long!";
// The kernel's file could not be written: a copy left by an earlier start must not be loaded instead.
inline constexpr std::string_view kKernelWriteFailed = "Failed to write kernel library!";

}  // namespace brindle::messages
