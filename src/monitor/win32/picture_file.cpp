#include "monitor/win32/picture_file.h"

namespace varnic::win32 {
namespace {

template <typename Function>
Function Find(const UniqueModule& module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.Get(), name))) : nullptr;
}

// The picture's bytes as a stream in memory; null when the file cannot be read whole.
IStream* ReadIntoStream(const std::wstring& path, const UniqueModule& ole32, DWORD& size) {
    using CreateStream = HRESULT(WINAPI*)(HGLOBAL, BOOL, IStream**);
    const auto createStream = Find<CreateStream>(ole32, "CreateStreamOnHGlobal");
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!createStream || !file) return nullptr;
    size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size == 0 || size > 64u * 1024 * 1024) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    DWORD read = 0;
    void* bytes = GlobalLock(memory);
    const bool ok = bytes && ReadFile(file.Get(), bytes, size, &read, nullptr) && read == size;
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (!ok || FAILED(createStream(memory, TRUE, &stream))) {  // the stream frees the memory
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

}  // namespace

std::unique_ptr<PictureFile> PictureFile::Load(const std::wstring& path) {
    using OleInitializeFunction = HRESULT(WINAPI*)(void*);
    using OleLoadPictureFunction = HRESULT(WINAPI*)(IStream*, LONG, BOOL, REFIID, void**);
    std::unique_ptr<PictureFile> file(new PictureFile);
    file->ole32_.Reset(LoadLibraryW(L"ole32.dll"));
    file->oleaut32_.Reset(LoadLibraryW(L"oleaut32.dll"));
    const auto oleInitialize = Find<OleInitializeFunction>(file->ole32_, "OleInitialize");
    const auto oleLoadPicture = Find<OleLoadPictureFunction>(file->oleaut32_, "OleLoadPicture");
    if (!oleInitialize || !oleLoadPicture) return nullptr;
    // Counted per thread: each picture starts OLE once and ends it once.
    file->oleStarted_ = SUCCEEDED(oleInitialize(nullptr));
    DWORD size = 0;
    IStream* stream = ReadIntoStream(path, file->ole32_, size);
    if (!stream) return nullptr;
    const HRESULT result = oleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&file->picture_));
    stream->Release();
    if (FAILED(result) || !file->picture_) return nullptr;
    return file;
}

PictureFile::~PictureFile() {
    if (picture_) picture_->Release();
    if (oleStarted_) {
        using OleUninitializeFunction = void(WINAPI*)();
        if (const auto oleUninitialize = Find<OleUninitializeFunction>(ole32_, "OleUninitialize")) oleUninitialize();
    }
}

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
