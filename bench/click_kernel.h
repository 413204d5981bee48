#pragma once
// The click benchmark's kernel, built twice, each into a shared library of its own so that both live
// in one process: as the product is built (the trace compiled in, off) and with the trace compiled
// out. Each runs the image in the real window (offscreen) and hands the benchmark 生成_标签 and the
// box it writes, after one click that must write it without a complaint.
#include <cstddef>
#include <cstdint>

class QAbstractButton;
class QPlainTextEdit;

extern "C" {
// Runs while the window is up; the kernel's event loop goes on when it returns.
using ClickBody = void (*)(void* context, QAbstractButton* button, QPlainTextEdit* output);
// 0, or 1 with a line on stderr when the image cannot run or the window is not the expected one.
using ClickKernelEntry = int (*)(const uint8_t* image, size_t image_size, ClickBody body, void* context);
}

inline constexpr const char* kClickKernelEntry = "brindle_click_kernel";
