#include "gui/win32/PngEncoder.h"

// windows.h first: the COM headers rely on its types.
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

namespace velmora {
namespace {

// Releases a COM object at the end of its scope.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// The picture as 24-bit BGR rows padded to four bytes, a layout the PNG
// encoder takes as it is.
std::vector<BYTE> BgrRows(const std::vector<uint32_t>& pixels, int width, int height,
                          UINT& stride) {
    stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * static_cast<UINT>(height));
    for (int y = 0; y < height; ++y) {
        BYTE* out = rows.data() + static_cast<std::size_t>(y) * stride;
        const uint32_t* in = pixels.data() + static_cast<std::size_t>(y) * static_cast<UINT>(width);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = static_cast<BYTE>(in[x]);
            out[3 * x + 1] = static_cast<BYTE>(in[x] >> 8);
            out[3 * x + 2] = static_cast<BYTE>(in[x] >> 16);
        }
    }
    return rows;
}

bool WriteFrame(IWICBitmapEncoder* encoder, const std::vector<uint32_t>& pixels, int width,
                int height) {
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.Out(), nullptr)) ||
        FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
        return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return false;
    UINT stride = 0;
    std::vector<BYTE> rows = BgrRows(pixels, width, height, stride);
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride,
                                        static_cast<UINT>(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool StreamBytes(IStream* stream, std::string& png) {
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(GetHGlobalFromStream(stream, &memory)) ||
        FAILED(stream->Stat(&stat, STATFLAG_NONAME))) {
        return false;
    }
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr) return false;
    png.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return true;
}

}  // namespace

bool EncodePng(const std::vector<uint32_t>& pixels, int width, int height, std::string& png,
               std::string& error) {
    error = "the system's PNG encoder failed";
    if (width < 1 || height < 1 || pixels.size() != static_cast<std::size_t>(width) * height) {
        return false;
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(factory.Out()))) &&
             SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) &&
             SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
             SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
             WriteFrame(encoder.Get(), pixels, width, height) && StreamBytes(stream.Get(), png);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    if (ok) error.clear();
    return ok;
}

}  // namespace velmora
