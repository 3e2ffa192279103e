// The snapshot file read as the renderer reads it, converted by GDI whatever its layout.
#include "tests/win32/gdi_picture_win32.h"

#include "render/dib_file_win32.h"
#include "tests/section_rgb.h"

bool loadWithGdi(const std::wstring& name, RgbPicture& picture, std::wstring& message)
{
    std::unique_ptr<DibSection> section;
    {
        const MappedFile file(name);
        DibLayout layout;
        if (!parseFile(name, file, layout, message) || !(section = convertFile(file, layout, message)))
            return false;
    }
    std::size_t bytes = 0;
    rgbImageBytes(section->width(), section->height(), bytes);
    picture.width = section->width();
    picture.height = section->height();
    picture.pixels.resize(bytes);
    copySectionToRgb(section->bits(), section->width(), section->height(), picture.pixels.data());
    return true;
}
