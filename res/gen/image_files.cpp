#include "image_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>

namespace {

struct Rgb8 {
    uint8_t r, g, b;
};

class Bytes {
public:
    void U8(unsigned v) { data.push_back(uint8_t(v)); }
    void U16(unsigned v) { U8(v & 255); U8(v >> 8); }
    void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    std::vector<uint8_t> data;
};

uint8_t ToByte(float v)
{
    return uint8_t(std::clamp(int(std::lround(v * 255.0f)), 0, 255));
}

Rgb8 Opaque(const Color& c)
{
    return {ToByte(c.r * c.a), ToByte(c.g * c.a), ToByte(c.b * c.a)};
}

Rgb8 Straight(const Color& c)
{
    return {ToByte(c.r), ToByte(c.g), ToByte(c.b)};
}

int RowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

bool Save(const std::string& path, const std::vector<uint8_t>& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

void InfoHeader(Bytes& b, int width, int height, int bits, int colours, uint32_t imageSize)
{
    b.U32(40);
    b.U32(uint32_t(width));
    b.U32(uint32_t(height));
    b.U16(1);
    b.U16(bits);
    b.U32(0);          // no compression
    b.U32(imageSize);
    b.U32(2835);       // 72 dpi
    b.U32(2835);
    b.U32(colours);
    b.U32(0);
}

int Distance(const Rgb8& a, const Rgb8& b)
{
    // Weighted for the eye: green differences show most.
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int Nearest(const std::vector<Rgb8>& palette, const Rgb8& c)
{
    int best = 0;
    for (int i = 1; i < int(palette.size()); ++i)
        if (Distance(palette[i], c) < Distance(palette[best], c)) best = i;
    return best;
}

std::vector<Rgb8> VgaPalette()
{
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
            {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// Median cut over the opaque pixels: boxes are split at the median of their
// widest channel until there are `count` of them; each gives its mean colour.
std::vector<Rgb8> AdaptivePalette(const std::vector<Rgb8>& pixels, int count)
{
    std::vector<std::vector<Rgb8>> boxes{pixels};
    auto spread = [](const std::vector<Rgb8>& box, int& channel) {
        std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
        for (const Rgb8& p : box) {
            int v[3] = {p.r, p.g, p.b};
            for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
        }
        channel = 0;
        for (int k = 1; k < 3; ++k)
            if (hi[k] - lo[k] > hi[channel] - lo[channel]) channel = k;
        return hi[channel] - lo[channel];
    };
    while (int(boxes.size()) < count) {
        int pick = -1, widest = 0, channel = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            int ch;
            int s = spread(boxes[i], ch);
            if (boxes[i].size() > 1 && s > widest) pick = i, widest = s, channel = ch;
        }
        if (pick < 0) break;
        auto& box = boxes[pick];
        auto key = [channel](const Rgb8& p) { return channel == 0 ? p.r : channel == 1 ? p.g : p.b; };
        std::sort(box.begin(), box.end(), [&](const Rgb8& a, const Rgb8& b) { return key(a) < key(b); });
        std::vector<Rgb8> upper(box.begin() + box.size() / 2, box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb8> palette;
    for (const auto& box : boxes) {
        if (box.empty()) continue;
        long sum[3] = {0, 0, 0};
        for (const Rgb8& p : box) sum[0] += p.r, sum[1] += p.g, sum[2] += p.b;
        long n = long(box.size());
        palette.push_back({uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)});
    }
    return palette;
}

bool IsOpaque(const Color& c)
{
    return c.a >= 0.5f;
}

// One icon image: header, palette, colour bits, then the AND mask (1 = transparent).
std::vector<uint8_t> IconImage(const Canvas& pic, int bits)
{
    int w = pic.Width(), h = pic.Height();
    std::vector<Rgb8> palette;
    if (bits == 4) {
        palette = VgaPalette();
    } else if (bits == 8) {
        std::vector<Rgb8> opaque;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (IsOpaque(pic.At(x, y))) opaque.push_back(Straight(pic.At(x, y)));
        // Index 0 stays black: transparent pixels point at it.
        palette = {{0, 0, 0}};
        for (const Rgb8& c : AdaptivePalette(opaque, 255)) palette.push_back(c);
        palette.resize(256, {0, 0, 0});
    }

    int colourRow = RowBytes(w, bits), maskRow = RowBytes(w, 1);
    Bytes b;
    InfoHeader(b, w, h * 2, bits, bits <= 8 ? 1 << bits : 0, uint32_t((colourRow + maskRow) * h));
    for (const Rgb8& c : palette) b.U8(c.b), b.U8(c.g), b.U8(c.r), b.U8(0);

    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(colourRow, 0);
        for (int x = 0; x < w; ++x) {
            Color c = pic.At(x, y);
            if (bits == 32) {
                Rgb8 s = Straight(c);
                uint8_t* p = &row[x * 4];
                p[0] = s.b, p[1] = s.g, p[2] = s.r, p[3] = ToByte(c.a);
                continue;
            }
            int index = IsOpaque(c) ? Nearest(palette, Straight(c)) : 0;
            if (bits == 8) row[x] = uint8_t(index);
            else row[x / 2] |= uint8_t(x % 2 ? index : index << 4);
        }
        b.data.insert(b.data.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < w; ++x)
            if (!IsOpaque(pic.At(x, y))) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        b.data.insert(b.data.end(), row.begin(), row.end());
    }
    return b.data;
}

} // namespace

bool WriteBmp24(const std::string& path, const Canvas& pic)
{
    int w = pic.Width(), h = pic.Height(), row = RowBytes(w, 24);
    Bytes b;
    b.U8('B');
    b.U8('M');
    b.U32(uint32_t(14 + 40 + row * h));
    b.U32(0);
    b.U32(14 + 40);
    InfoHeader(b, w, h, 24, 0, uint32_t(row * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            Rgb8 c = Opaque(pic.At(x, y));
            b.U8(c.b), b.U8(c.g), b.U8(c.r);
        }
        for (int k = w * 3; k < row; ++k) b.U8(0);
    }
    return Save(path, b.data);
}

bool WriteIco(const std::string& path, const std::vector<IcoImage>& icons)
{
    std::vector<std::vector<uint8_t>> images;
    for (const IcoImage& icon : icons) images.push_back(IconImage(icon.picture, icon.bits));

    Bytes b;
    b.U16(0);
    b.U16(1);   // icon
    b.U16(unsigned(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        int w = icons[i].picture.Width(), h = icons[i].picture.Height(), bits = icons[i].bits;
        b.U8(w >= 256 ? 0 : w);
        b.U8(h >= 256 ? 0 : h);
        b.U8(bits == 4 ? 16 : 0);
        b.U8(0);
        b.U16(1);
        b.U16(bits);
        b.U32(uint32_t(images[i].size()));
        b.U32(offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& img : images) b.data.insert(b.data.end(), img.begin(), img.end());
    return Save(path, b.data);
}
