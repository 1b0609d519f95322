// Pixels copied from the screen, top row first, 0x00RRGGBB each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tarvo::uidriver {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// Copies `rect` (screen coordinates) from the screen. Returns 0 on failure.
int CaptureScreen(const RECT& rect, Pixels* pixels);
// Draws `icon` stretched to `width` × `height` over a field of `background`, as a static
// control of that size draws it.
int RenderIcon(HICON icon, int width, int height, std::uint32_t background, Pixels* pixels);

}  // namespace tarvo::uidriver
