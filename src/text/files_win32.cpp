#include <windows.h>

#include <memory>

#include "text/files.h"
#include "text/wide.h"

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle OpenForWriting(const std::wstring& name, DWORD creation) {
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, creation,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool WriteAll(HANDLE file, const Bytes& data) {
    size_t done = 0;
    while (done < data.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

}  // namespace

bool WriteBytesToFile(const Text& fileName, const Bytes& data) {
    if (fileName.empty()) return false;
    std::wstring target = WideFromText(fileName);
    if (target.empty()) return false;

    wchar_t temporary[MAX_PATH + 16] = {};
    std::wstring folder = FolderOf(target);
    if (folder.size() < MAX_PATH - 14 &&
        GetTempFileNameW(folder.c_str(), L"pic", 0, temporary) != 0) {
        bool ok = false;
        if (FileHandle file = OpenForWriting(temporary, TRUNCATE_EXISTING)) {
            ok = WriteAll(file.get(), data) && FlushFileBuffers(file.get());
        }
        ok = ok && MoveFileExW(temporary, target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileW(temporary);
        return ok;
    }

    // No new file can be made beside the target: write in place.
    FileHandle file = OpenForWriting(target, CREATE_ALWAYS);
    if (!file) return false;
    return WriteAll(file.get(), data);
}

Text RunDirectory() {
    static const Text folder = [] {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return Text();
            if (n < path.size()) {
                path.resize(n);
                break;
            }
            path.resize(path.size() * 2);
        }
        size_t slash = path.find_last_of(L'\\');
        return TextFromWide(slash == std::wstring::npos ? path : path.substr(0, slash));
    }();
    return folder;
}
