#include "monitor/win32/picture_file.h"

#include "platform/win32/handles.h"

namespace varnic::win32 {

std::unique_ptr<PictureFile> PictureFile::Load(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return nullptr;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size == 0 || size > 64u * 1024 * 1024) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    DWORD read = 0;
    void* bytes = GlobalLock(memory);
    const bool ok = bytes && ReadFile(file.Get(), bytes, size, &read, nullptr) && read == size;
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (!ok || FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the memory
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HRESULT result = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(result) || !picture) return nullptr;
    return std::unique_ptr<PictureFile>(new PictureFile(picture));
}

PictureFile::~PictureFile() { picture_->Release(); }

void PictureFile::Draw(HDC dc, const RECT& into) const {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // HIMETRIC runs bottom-up: the source starts at the bottom edge with a negative height.
    picture_->Render(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, 0, height, width,
                     -height, nullptr);
}

}  // namespace varnic::win32
