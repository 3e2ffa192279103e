// The snapshot file as bytes, its layout checked, and GDI's conversion of what is not read directly.
#include "render/dib_file_win32.h"

const wchar_t outOfMemory[] = L"Out of memory.";

namespace {

const wchar_t unknownFormat[] = L"Unknown DIB file format.";
const wchar_t conversionError[] = L"Image file conversion error.";

const wchar_t* refusalMessage(DibRefusal refusal)
{
    return refusal == DibRefusal::UnknownFormat ? unknownFormat : conversionError;
}

} // namespace

MappedFile::MappedFile(const std::wstring& name)
{
    file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER length{};
    // An empty file cannot be mapped, and a file too large for the address space cannot be viewed.
    if (!GetFileSizeEx(file, &length) || static_cast<unsigned long long>(length.QuadPart) > SIZE_MAX)
        return;
    mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping)
        return;
    view = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    size = static_cast<std::size_t>(length.QuadPart);
}

MappedFile::~MappedFile()
{
    if (view)
        UnmapViewOfFile(view);
    if (mapping)
        CloseHandle(mapping);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

bool parseFile(const std::wstring& name, const MappedFile& file, DibLayout& layout, std::wstring& message)
{
    message.clear();
    if (!file.view) {
        message = L"Failed to open DIB file " + name + L".\n";
        return false;
    }
    DibRefusal refusal = parseDib(file.view, file.size, layout);
    if (refusal != DibRefusal::None)
        message = refusalMessage(refusal);
    return refusal == DibRefusal::None;
}

std::unique_ptr<DibSection> convertFile(const MappedFile& file, const DibLayout& layout, std::wstring& message)
{
    auto section = std::make_unique<DibSection>(layout.width, layout.rows, 24);
    if (!section->bits()) {
        message = outOfMemory;
        return nullptr;
    }
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(layout.info.data());
    if (SetDIBits(section->dc(), section->bitmap(), 0, static_cast<UINT>(layout.rows), file.view + layout.pixelOffset,
                  info, DIB_RGB_COLORS) == 0) {
        message = conversionError;
        return nullptr;
    }
    GdiFlush();
    return section;
}
