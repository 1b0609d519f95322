// A block of memory inside the process that owns a window: common controls
// take and fill structures through pointers, and a pointer only means
// something in the control's own address space.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "uidriver_win.h"

namespace tarvo::uidriver {

class RemoteBuffer {
public:
    // Allocates `size` zeroed bytes in the process of `window`.
    RemoteBuffer(HWND window, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    const std::string& Error() const { return error_; }
    // The address as the owning process sees it, `offset` bytes in.
    void* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    int Write(std::size_t offset, const void* data, std::size_t size);
    int Read(std::size_t offset, void* data, std::size_t size) const;
    // A UTF-16 text of at most `maxChars` characters stored at `offset`.
    std::wstring ReadText(std::size_t offset, std::size_t maxChars) const;

private:
    UniqueHandle process_;
    void* address_ = nullptr;
    std::size_t size_ = 0;
    std::string error_;
};

// SendMessageTimeout with the driver's timeout; 0 when it timed out.
int SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

}  // namespace tarvo::uidriver
