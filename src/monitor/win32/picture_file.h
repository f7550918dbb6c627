// A GIF, JPEG or BMP picture loaded from a file with the system's OLE picture decoder, which
// every supported Windows has, drawn stretched into a rectangle. The decoder's libraries are
// loaded, and OLE started on the calling thread, only when a picture is loaded: a program
// without a picture never maps them. Each picture holds them until it goes.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>
#include <string>

#include "platform/win32/handles.h"

namespace varnic::win32 {

class PictureFile {
public:
    // nullptr when the file cannot be read or is not a picture, or the decoder is missing.
    static std::unique_ptr<PictureFile> Load(const std::wstring& path);
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    void Draw(HDC dc, const RECT& into) const;

private:
    PictureFile() = default;

    // Released in reverse order: the picture, then OLE, then the libraries.
    UniqueModule ole32_;
    UniqueModule oleaut32_;
    bool oleStarted_ = false;
    IPicture* picture_ = nullptr;
};

}  // namespace varnic::win32
