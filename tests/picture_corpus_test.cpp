// Damaged skin pictures of every format GDI+ reads: the built-in pictures, a GIF made here, the
// element sheet re-encoded as TIFF, and an EMF and a WMF drawn here, then truncated at many lengths, with
// bytes flipped, and with huge sizes written into their headers. Each goes through the engine's loads; none
// may crash or hang, and a refused load must leave the current picture, its size and its colour as they were.
#include "skin/engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "runtime/embedded.h"
#include "skin/picture_header.h"
#include "skin/resources.h"
#include "tests/test_support.h"

namespace skin {
namespace {

struct Picture {
    std::string format;
    std::string bytes;
};

// ---- Building the undamaged pictures ----

std::string StreamBytes(IStream* stream) {
    HGLOBAL memory = nullptr;
    if (FAILED(::GetHGlobalFromStream(stream, &memory))) return {};
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    const void* data = ::GlobalLock(memory);
    std::string bytes(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(memory);
    return bytes;
}

// The picture saved by GDI+'s encoder for `mime`; empty when the system has no such encoder.
std::string Encode(GpImage* image, const wchar_t* mime) {
    UINT count = 0, size = 0;
    GdipGetImageEncodersSize(&count, &size);
    std::vector<char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return {};
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) != mime) continue;
        IStream* stream = nullptr;
        if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return {};
        std::string bytes;
        if (GdipSaveImageToStream(image, stream, &codecs[i].Clsid, nullptr) == Gdiplus::Ok)
            bytes = StreamBytes(stream);
        stream->Release();
        return bytes;
    }
    return {};
}

HENHMETAFILE DrawMetafile() {
    const RECT frame = {0, 0, 2000, 1500};  // hundredths of a millimetre
    HDC dc = ::CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    HBRUSH brush = ::CreateSolidBrush(RGB(30, 120, 200));
    const RECT fill = {5, 5, 60, 40};
    ::FillRect(dc, &fill, brush);
    ::DeleteObject(brush);
    ::Ellipse(dc, 10, 10, 50, 30);
    return ::CloseEnhMetaFile(dc);
}

std::string EmfBytes(HENHMETAFILE emf) {
    std::string bytes(::GetEnhMetaFileBits(emf, 0, nullptr), '\0');
    ::GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(&bytes[0]));
    return bytes;
}

void PutLe16(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void PutLe32(std::string& s, size_t at, uint32_t v) {
    PutLe16(s, at, static_cast<uint16_t>(v & 0xFFFF));
    PutLe16(s, at + 2, static_cast<uint16_t>(v >> 16));
}
void PutBe16(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v >> 8);
    s[at + 1] = static_cast<char>(v & 0xFF);
}
void PutBe32(std::string& s, size_t at, uint32_t v) {
    PutBe16(s, at, static_cast<uint16_t>(v >> 16));
    PutBe16(s, at + 2, static_cast<uint16_t>(v & 0xFFFF));
}

// A placeable WMF: the 22-byte header GDI+ needs (bounds in units of `inch` a inch), then the
// metafile records.
std::string PlaceableWmf(HENHMETAFILE emf, int16_t right, int16_t bottom, uint16_t inch) {
    HDC screen = ::GetDC(nullptr);
    std::string records(::GetWinMetaFileBits(emf, 0, nullptr, MM_ANISOTROPIC, screen), '\0');
    ::GetWinMetaFileBits(emf, static_cast<UINT>(records.size()), reinterpret_cast<BYTE*>(&records[0]),
                         MM_ANISOTROPIC, screen);
    ::ReleaseDC(nullptr, screen);
    std::string header(22, '\0');
    PutLe32(header, 0, 0x9AC6CDD7);
    PutLe16(header, 10, static_cast<uint16_t>(right));
    PutLe16(header, 12, static_cast<uint16_t>(bottom));
    PutLe16(header, 14, inch);
    uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<uint16_t>(static_cast<uint8_t>(header[i]) |
                                          (static_cast<uint8_t>(header[i + 1]) << 8));
    PutLe16(header, 20, checksum);
    return header + records;
}

// A 32 x 32 GIF of four colours in squares of 8 pixels. Its LZW data is written with a clear code
// before every second pixel, so that every code stays 3 bits wide. (Wine's GIF encoder writes no
// image data for a 32-bit picture, so the file is made here.)
std::string MakeGif() {
    const int size = 32;
    std::string g = "GIF89a";
    g += std::string("\x20\x00\x20\x00\x81\x00\x00", 7);  // 32 x 32, global table of 4 colours
    g += std::string("\x10\x60\xb0\xe0\xc0\x30\x20\x80\x40\xff\xff\xff", 12);
    g += std::string("\x2c\x00\x00\x00\x00\x20\x00\x20\x00\x00\x02", 11);  // image, code size 2
    std::string data;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](uint32_t code) {
        bits |= code << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8) data += static_cast<char>(bits & 0xFF);
    };
    for (int i = 0; i < size * size; ++i) {
        if (i % 2 == 0) put(4);  // clear
        put(static_cast<uint32_t>((i % size / 8 + i / size / 8) % 4));
    }
    put(5);  // end of information
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        g += static_cast<char>(block.size());
        g += block;
    }
    return g + std::string("\x00;", 2);
}

std::vector<Picture> UndamagedPictures() {
    std::vector<Picture> pictures = {
        {"jpeg", std::string(runtime::EmbeddedBytes(IDR_DEFAULT_SKIN))},
        {"png", std::string(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET))},
        {"bmp", std::string(runtime::EmbeddedBytes(IDR_CONTROL_SHEET))},
        {"ico", std::string(runtime::EmbeddedBytes(IDR_DOCUMENT_ICON))},
        {"ico-multi", std::string(runtime::EmbeddedBytes(IDR_TOOLBOX_ICON))},
    };
    GpImage* sheet = LoadImageFromBytes(runtime::EmbeddedBytes(IDR_ELEMENT_SHEET));
    pictures.push_back({"gif", MakeGif()});
    pictures.push_back({"tiff", Encode(sheet, L"image/tiff")});
    HENHMETAFILE emf = DrawMetafile();
    pictures.push_back({"emf", EmfBytes(emf)});
    pictures.push_back({"wmf", PlaceableWmf(emf, 400, 300, 1440)});
    ::DeleteEnhMetaFile(emf);
    return pictures;
}

// ---- Damage ----

// The same picture declaring a size far beyond anything the engine should decode: the fields each
// format keeps its size in, set to huge values.
std::string WithHugeSize(const Picture& p) {
    std::string b = p.bytes;
    if (p.format == "png") {
        PutBe32(b, 16, 100000), PutBe32(b, 20, 100000);
    } else if (p.format == "gif") {
        PutLe16(b, 6, 0xFFFF), PutLe16(b, 8, 0xFFFF);
    } else if (p.format == "bmp") {
        PutLe32(b, 18, 100000), PutLe32(b, 22, 100000);
    } else if (p.format == "jpeg") {
        for (size_t at = 2; at + 9 < b.size(); ++at) {
            const auto marker = static_cast<uint8_t>(b[at + 1]);
            if (static_cast<uint8_t>(b[at]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
                PutBe16(b, at + 5, 0xFFFF), PutBe16(b, at + 7, 0xFFFF);
                break;
            }
        }
    } else if (p.format == "tiff") {
        const bool little = b[0] == 'I';
        const uint32_t ifd = little ? static_cast<uint8_t>(b[4]) | static_cast<uint8_t>(b[5]) << 8 : 0;
        const uint32_t entries = static_cast<uint8_t>(b[ifd]) | static_cast<uint8_t>(b[ifd + 1]) << 8;
        for (uint32_t i = 0; little && i < entries && ifd + 2 + 12 * (i + 1) <= b.size(); ++i) {
            const size_t e = ifd + 2 + 12 * i;
            const uint32_t tag = static_cast<uint8_t>(b[e]) | static_cast<uint8_t>(b[e + 1]) << 8;
            if (tag == 256 || tag == 257)
                PutLe16(b, e + 2, 4), PutLe32(b, e + 4, 1), PutLe32(b, e + 8, 1000000);
        }
    } else if (p.format.rfind("ico", 0) == 0) {
        b[6] = 0, b[7] = 0;             // 256 x 256
        PutLe32(b, 6 + 8, 0x7FFFFFFF);  // image data past the end of the file
    } else if (p.format == "emf") {
        PutLe32(b, 16, 0x7FFFFFFF), PutLe32(b, 20, 0x7FFFFFFF);  // bounds
        PutLe32(b, 32, 0x7FFFFFFF), PutLe32(b, 36, 0x7FFFFFFF);  // frame
    } else if (p.format == "wmf") {
        PutLe16(b, 10, 0x7FFF), PutLe16(b, 12, 0x7FFF), PutLe16(b, 14, 1);
    }
    return b;
}

std::vector<Picture> DamagedPictures(const std::vector<Picture>& originals) {
    std::vector<Picture> damaged;
    std::mt19937 random(20240612);
    for (const Picture& p : originals) {
        const size_t n = p.bytes.size();
        for (size_t length : {0, 1, 2, 4, 7, 8, 9, 12, 16, 22, 24, 26, 33, 40, 54, 64, 100, 200}) {
            if (length < n)
                damaged.push_back(
                    {p.format + " cut at " + std::to_string(length), p.bytes.substr(0, length)});
        }
        for (size_t k = 1; k < 24; ++k) {
            damaged.push_back(
                {p.format + " cut at " + std::to_string(n * k / 24), p.bytes.substr(0, n * k / 24)});
        }
        for (int k = 0; k < 30; ++k) {
            std::string b = p.bytes;
            const int flips = 1 + k % 4;
            for (int f = 0; f < flips; ++f) b[random() % n] ^= static_cast<char>(1 + random() % 255);
            damaged.push_back({p.format + " flipped " + std::to_string(k), b});
        }
        damaged.push_back({p.format + " huge", WithHugeSize(p)});
        damaged.push_back({p.format + " huge, cut", WithHugeSize(p).substr(0, n / 2)});
    }
    return damaged;
}

// ---- The loads ----

struct SkinState {
    GpImage* image;
    HGLOBAL memory;
    int width, height, skinWidth, skinHeight;
    COLORREF color;
    bool operator==(const SkinState& o) const {
        return image == o.image && memory == o.memory && width == o.width && height == o.height &&
               skinWidth == o.skinWidth && skinHeight == o.skinHeight && color == o.color;
    }
};

SkinState Current() {
    return {TheSkinImage.GetImage(),
            TheSkinImage.GetMemory(),
            TheSkinImage.GetWidth(),
            TheSkinImage.GetHeight(),
            SkinWidth,
            SkinHeight,
            SkinColor};
}

class PictureCorpus : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SkinModuleStartup(); }
    test::ScratchDir dir_;
};

bool IsMetafileFormat(const Picture& p) { return p.format == "emf" || p.format == "wmf"; }

// Every raster format loads whole; metafiles are refused (their records are played by the system,
// and a damaged record crashes the player) and change nothing.
TEST_F(PictureCorpus, EveryRasterFormatLoadsAndMetafilesAreRefused) {
    for (const Picture& p : UndamagedPictures()) {
        ASSERT_FALSE(p.bytes.empty()) << p.format << ": no encoder";
        const std::string file = dir_.File("整张." + p.format);
        test::WriteFileBytes(file, p.bytes);
        const SkinState before = Current();
        const int want = IsMetafileFormat(p) ? 0 : 1;
        EXPECT_EQ(TheSkinEngine.LoadSkinFromBytes(p.bytes), want) << p.format;
        EXPECT_EQ(TheSkinEngine.LoadSkinFromFile(file), want) << p.format;
        if (want == 1) {
            EXPECT_GT(SkinWidth, 0) << p.format;
        } else {
            EXPECT_TRUE(Current() == before) << p.format;
        }
    }
}

TEST_F(PictureCorpus, DamagedPicturesLoadOrAreRefusedWithoutAChange) {
    const std::vector<Picture> originals = UndamagedPictures();
    const std::vector<Picture> damaged = DamagedPictures(originals);
    ASSERT_EQ(TheSkinEngine.LoadSkinFromBytes(originals[0].bytes), 1);
    int refused = 0, loaded = 0;
    std::string slowest;
    double slowestSeconds = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < damaged.size(); ++i) {
        const Picture& p = damaged[i];
        // Every fifth one also from a file, the way a chosen skin picture is read.
        const bool fromFile = i % 5 == 0;
        const std::string file = dir_.File("损坏" + std::to_string(i) + ".pic");
        if (fromFile) test::WriteFileBytes(file, p.bytes);
        const SkinState before = Current();
        const auto t0 = std::chrono::steady_clock::now();
        const int result =
            fromFile ? TheSkinEngine.LoadSkinFromFile(file) : TheSkinEngine.LoadSkinFromBytes(p.bytes);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (seconds > slowestSeconds) slowestSeconds = seconds, slowest = p.format;
        if (result == 0) {
            ++refused;
            EXPECT_TRUE(Current() == before) << p.format << ": a refused load changed the skin";
        } else {
            ++loaded;
            EXPECT_EQ(result, 1) << p.format;
            EXPECT_GT(SkinWidth, 0) << p.format;
            EXPECT_LE(static_cast<uint64_t>(SkinWidth) * static_cast<uint64_t>(SkinHeight), kMaxPicturePixels)
                << p.format;
        }
    }
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu damaged pictures: %d refused, %d loaded; %.1f s in all, slowest %.2f s (%s)\n",
                damaged.size(), refused, loaded, total, slowestSeconds, slowest.c_str());
    // No hang: the whole corpus takes seconds; this bound only catches a load that never returns.
    EXPECT_LT(total, 90.0);
    EXPECT_GT(refused, static_cast<int>(damaged.size()) / 4);
    // Each format's huge-size variant: refused before anything is decoded, or decoded at a sane size.
    for (const Picture& p : originals) {
        const SkinState before = Current();
        if (TheSkinEngine.LoadSkinFromBytes(WithHugeSize(p)) == 0) {
            EXPECT_TRUE(Current() == before) << p.format;
        } else {
            EXPECT_LE(static_cast<uint64_t>(SkinWidth) * static_cast<uint64_t>(SkinHeight), kMaxPicturePixels)
                << p.format;
        }
    }
}

}  // namespace
}  // namespace skin
