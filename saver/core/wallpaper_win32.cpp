// Wallpaper decoding: the file from SystemParametersInfoW, decoded, cropped and scaled by WIC.
#include "saver/core/wallpaper_win32.h"

#include <windows.h>
#include <wincodec.h>

#include "saver/core/snapshot_picture.h"

namespace {

// Larger sides than any wallpaper has; the decoder is not asked to hold more.
constexpr UINT largestSide = 1 << 15;

// One reference to a COM object, released with it.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (object_)
            object_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface* operator->() const { return object_; }
    Interface* get() const { return object_; }
    Interface** put() { return &object_; }
    void** putVoid() { return reinterpret_cast<void**>(&object_); }

private:
    Interface* object_ = nullptr;
};

// COM on this thread for as long as it lives, where it could be had.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (initialised_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

// The first frame of the file in 32-bit rows, cropped to what "Fill" shows and scaled to the
// desktop; each step only describes, the pixels are made by CopyPixels.
bool decodeFilled(IWICImagingFactory* factory, const std::wstring& path, std::int32_t width, std::int32_t height,
                  std::vector<std::uint8_t>& pixels)
{
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    ComRef<IWICBitmapClipper> clipper;
    ComRef<IWICBitmapScaler> scaler;
    UINT pictureWidth = 0, pictureHeight = 0;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&pictureWidth, &pictureHeight)) ||
        pictureWidth == 0 || pictureHeight == 0 || pictureWidth > largestSide || pictureHeight > largestSide)
        return false;
    const PictureArea area = FillArea(static_cast<std::int32_t>(pictureWidth), static_cast<std::int32_t>(pictureHeight),
                                      width, height);
    const WICRect shown = {area.x, area.y, area.width, area.height};
    const UINT stride = 4 * static_cast<UINT>(width);
    pixels.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    return SUCCEEDED(factory->CreateFormatConverter(converter.put())) &&
           SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                           0, WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(factory->CreateBitmapClipper(clipper.put())) &&
           SUCCEEDED(clipper->Initialize(converter.get(), &shown)) &&
           SUCCEEDED(factory->CreateBitmapScaler(scaler.put())) &&
           SUCCEEDED(scaler->Initialize(clipper.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                        WICBitmapInterpolationModeFant)) &&
           SUCCEEDED(scaler->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()));
}

} // namespace

std::vector<std::uint8_t> FilledPicture(const std::wstring& path, std::int32_t width, std::int32_t height)
{
    std::vector<std::uint8_t> pixels;
    // Sides whose rows would not fit the codecs' 32-bit sizes are not asked for.
    if (path.empty() || width <= 0 || height <= 0 || std::uint64_t{4} * width * height > MAXDWORD)
        return pixels;
    const ComApartment apartment;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())) ||
        !decodeFilled(factory.get(), path, width, height, pixels))
        pixels.clear();
    return pixels;
}

std::vector<std::uint8_t> FilledWallpaper(std::int32_t width, std::int32_t height)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0))
        return {};
    return FilledPicture(path, width, height);
}
