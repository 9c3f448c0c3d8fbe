#include "display/WicImageDecoder.h"

#include <windows.h>
#include <wincodec.h>

namespace tesmar {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (pointer_)
            pointer_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface** out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

// One factory for the thread's life, made on first use.
IWICImagingFactory* Factory()
{
    static thread_local IWICImagingFactory* factory = nullptr;
    if (!factory)
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(&factory));
    return factory;
}

} // namespace

std::optional<Image> DecodeImageWithWic(std::span<const uint8_t> bytes)
{
    IWICImagingFactory* factory = Factory();
    if (!factory || bytes.empty() || bytes.size() > MAXDWORD)
        return std::nullopt;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICBitmapSource> converted;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())))
        return std::nullopt;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxDecodedSide ||
        height > kMaxDecodedSide || uint64_t(width) * height > kMaxDecodedPixels)
        return std::nullopt;
    // Premultiplied BGRA is the player's own layout, 0xAARRGGBB per pixel.
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), converted.out())))
        return std::nullopt;
    Image image{int(width), int(height)};
    const UINT stride = width * 4;
    if (FAILED(converted->CopyPixels(nullptr, stride, UINT(image.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(image.pixels.data()))))
        return std::nullopt;
    return image;
}

} // namespace tesmar
