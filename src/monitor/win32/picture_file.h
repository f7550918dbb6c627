// A GIF, JPEG or BMP picture loaded from a file with the system's OLE picture decoder, which
// every supported Windows has, drawn stretched into a rectangle.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <memory>
#include <string>

namespace varnic::win32 {

class PictureFile {
public:
    // nullptr when the file cannot be read or is not a picture.
    static std::unique_ptr<PictureFile> Load(const std::wstring& path);
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    void Draw(HDC dc, const RECT& into) const;

private:
    explicit PictureFile(IPicture* picture) : picture_(picture) {}
    IPicture* picture_;
};

}  // namespace varnic::win32
