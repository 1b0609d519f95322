#include "remote_memory_win.h"

#include <vector>

namespace tarvo::uidriver {

RemoteBuffer::RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process_) {
        error_ = "OpenProcess failed, error " + std::to_string(GetLastError());
        return;
    }
    address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ == nullptr) error_ = "VirtualAllocEx failed, error " + std::to_string(GetLastError());
}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
}

int RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t size) {
    if (!Ok() || offset + size > size_) return 0;
    SIZE_T done = 0;
    return WriteProcessMemory(process_.Get(), At(offset), data, size, &done) && done == size ? 1 : 0;
}

int RemoteBuffer::Read(std::size_t offset, void* data, std::size_t size) const {
    if (!Ok() || offset + size > size_) return 0;
    SIZE_T done = 0;
    return ReadProcessMemory(process_.Get(), At(offset), data, size, &done) && done == size ? 1 : 0;
}

std::wstring RemoteBuffer::ReadText(std::size_t offset, std::size_t maxChars) const {
    std::vector<wchar_t> text(maxChars + 1, L'\0');
    if (!Read(offset, text.data(), maxChars * sizeof(wchar_t))) return {};
    text[maxChars] = L'\0';
    return text.data();
}

int SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &answer)) return 0;
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return 1;
}

}  // namespace tarvo::uidriver
