// Draws the component's pictures (data/Resources): the vendor logo, the device
// pictures and icon, and the three connection status bars. Qt writes BMP and
// ICO; GIF, which Qt only reads, is written by the small encoder below.
//
//   scripts/resource-pictures/make-pictures.sh data/Resources

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const QColor kPageBlue(57, 115, 188);
const QColor kDarkBlue(31, 67, 120);
const QColor kBodyGrey(226, 230, 236);
const QColor kOutline(92, 100, 112);

// --- GIF89a with one image, a palette of at most 256 colours and 1-bit transparency ---

class GifWriter {
public:
    static bool write(const QImage& source, const std::string& file)
    {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        std::vector<QRgb> palette;
        std::vector<std::uint8_t> indices;
        const bool transparent = quantise(image, palette, indices);

        int bits = 1;
        while ((1 << bits) < static_cast<int>(palette.size()))
            ++bits;
        palette.resize(std::size_t{1} << bits, qRgb(0, 0, 0));

        std::vector<std::uint8_t> out;
        const auto put16 = [&](int value) {
            out.push_back(static_cast<std::uint8_t>(value & 0xFF));
            out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
        };
        for (const char c : std::string("GIF89a"))
            out.push_back(static_cast<std::uint8_t>(c));
        put16(image.width());
        put16(image.height());
        out.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
        out.push_back(0);
        out.push_back(0);
        for (const QRgb colour : palette) {
            out.push_back(static_cast<std::uint8_t>(qRed(colour)));
            out.push_back(static_cast<std::uint8_t>(qGreen(colour)));
            out.push_back(static_cast<std::uint8_t>(qBlue(colour)));
        }
        if (transparent) {
            // Graphic control extension: index 0 is transparent.
            for (const int b : {0x21, 0xF9, 4, 1, 0, 0, 0, 0})
                out.push_back(static_cast<std::uint8_t>(b));
        }
        out.push_back(0x2C);
        put16(0);
        put16(0);
        put16(image.width());
        put16(image.height());
        out.push_back(0);

        const int minCodeSize = std::max(2, bits);
        out.push_back(static_cast<std::uint8_t>(minCodeSize));
        const std::vector<std::uint8_t> data = lzw(indices, minCodeSize);
        for (std::size_t i = 0; i < data.size(); i += 255) {
            const std::size_t n = std::min<std::size_t>(255, data.size() - i);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                       data.begin() + static_cast<std::ptrdiff_t>(i + n));
        }
        out.push_back(0);
        out.push_back(0x3B);

        std::ofstream file_out(file, std::ios::binary | std::ios::trunc);
        file_out.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return static_cast<bool>(file_out);
    }

private:
    // Exact colours when there are few enough; otherwise the most frequent
    // 5-bit-per-channel buckets. Index 0 is kept for transparency when needed.
    static bool quantise(const QImage& image, std::vector<QRgb>& palette, std::vector<std::uint8_t>& indices)
    {
        bool transparent = false;
        std::map<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) < 128)
                    transparent = true;
                else
                    ++counts[p | 0xFF000000u];
            }
        const std::size_t room = transparent ? 255 : 256;
        if (transparent)
            palette.push_back(qRgb(255, 255, 255));
        const auto bucket = [](QRgb p) { return (qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | (qBlue(p) >> 3); };
        std::vector<std::pair<int, QRgb>> ranked;
        if (counts.size() <= room) {
            for (const auto& [colour, count] : counts)
                ranked.emplace_back(count, colour);
        } else {
            std::map<int, std::array<long, 4>> buckets;
            for (const auto& [colour, count] : counts) {
                auto& b = buckets[bucket(colour)];
                b[0] += static_cast<long>(qRed(colour)) * count;
                b[1] += static_cast<long>(qGreen(colour)) * count;
                b[2] += static_cast<long>(qBlue(colour)) * count;
                b[3] += count;
            }
            for (const auto& [key, b] : buckets)
                ranked.emplace_back(static_cast<int>(b[3]), qRgb(static_cast<int>(b[0] / b[3]),
                                                                 static_cast<int>(b[1] / b[3]),
                                                                 static_cast<int>(b[2] / b[3])));
            std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
            if (ranked.size() > room)
                ranked.resize(room);
        }
        for (const auto& entry : ranked)
            palette.push_back(entry.second);

        std::unordered_map<QRgb, std::uint8_t> nearest;
        indices.reserve(static_cast<std::size_t>(image.width() * image.height()));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) < 128) {
                    indices.push_back(0);
                    continue;
                }
                const QRgb opaque = p | 0xFF000000u;
                auto it = nearest.find(opaque);
                if (it == nearest.end()) {
                    std::size_t best = transparent ? 1 : 0;
                    long bestDistance = -1;
                    for (std::size_t i = best; i < palette.size(); ++i) {
                        const long dr = qRed(palette[i]) - qRed(opaque);
                        const long dg = qGreen(palette[i]) - qGreen(opaque);
                        const long db = qBlue(palette[i]) - qBlue(opaque);
                        const long distance = dr * dr + dg * dg + db * db;
                        if (bestDistance < 0 || distance < bestDistance) {
                            bestDistance = distance;
                            best = i;
                        }
                    }
                    it = nearest.emplace(opaque, static_cast<std::uint8_t>(best)).first;
                }
                indices.push_back(it->second);
            }
        return transparent;
    }

    static std::vector<std::uint8_t> lzw(const std::vector<std::uint8_t>& indices, int minCodeSize)
    {
        std::vector<std::uint8_t> out;
        std::uint32_t buffer = 0;
        int bufferBits = 0;
        int codeSize = minCodeSize + 1;
        const int clear = 1 << minCodeSize;
        const int end = clear + 1;
        int next = end + 1;
        std::unordered_map<std::uint32_t, int> table;
        const auto putCode = [&](int code) {
            buffer |= static_cast<std::uint32_t>(code) << bufferBits;
            bufferBits += codeSize;
            while (bufferBits >= 8) {
                out.push_back(static_cast<std::uint8_t>(buffer & 0xFF));
                buffer >>= 8;
                bufferBits -= 8;
            }
        };
        putCode(clear);
        int prefix = -1;
        for (const std::uint8_t index : indices) {
            if (prefix < 0) {
                prefix = index;
                continue;
            }
            const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | index;
            const auto it = table.find(key);
            if (it != table.end()) {
                prefix = it->second;
                continue;
            }
            putCode(prefix);
            if (next < 4096) {
                table.emplace(key, next++);
                if (next > (1 << codeSize) && codeSize < 12)
                    ++codeSize;
            } else {
                putCode(clear);
                table.clear();
                codeSize = minCodeSize + 1;
                next = end + 1;
            }
            prefix = index;
        }
        if (prefix >= 0)
            putCode(prefix);
        putCode(end);
        if (bufferBits > 0)
            out.push_back(static_cast<std::uint8_t>(buffer & 0xFF));
        return out;
    }
};

// --- the pictures ---

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// The gateway as a DIN-rail module: grey housing, blue front label, terminal
// rows top and bottom, two status lamps.
void drawDevice(QPainter& p, const QRect& area)
{
    const double s = area.width() / 48.0;
    const auto r = [&](double x, double y, double w, double h) {
        return QRectF(area.left() + x * s, area.top() + y * s, w * s, h * s);
    };
    p.setRenderHint(QPainter::Antialiasing, false);
    // Housing.
    p.setPen(QPen(kOutline, std::max(1.0, s)));
    p.setBrush(kBodyGrey);
    p.drawRect(r(8, 2, 31, 43));
    // Terminal rows.
    p.setBrush(QColor(70, 76, 86));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(r(11 + i * 7, 4, 4, 4));
        p.drawRect(r(11 + i * 7, 39, 4, 4));
    }
    // Front label.
    p.setBrush(kPageBlue);
    p.drawRect(r(11, 11, 25, 15));
    p.setBrush(kDarkBlue);
    p.drawRect(r(11, 23, 25, 3));
    // Status lamps.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(r(13, 30, 5, 5));
    p.setBrush(QColor(240, 180, 30));
    p.drawEllipse(r(21, 30, 5, 5));
    if (area.width() >= 48) {
        p.setPen(Qt::white);
        p.setFont(font(static_cast<int>(7 * s), true));
        p.drawText(r(11, 11, 25, 12), Qt::AlignCenter, QStringLiteral("ZEB"));
    }
    if (area.width() >= 96) {
        p.setPen(kDarkBlue);
        p.setFont(font(static_cast<int>(4 * s), true));
        p.drawText(r(28, 29, 10, 7), Qt::AlignCenter, QStringLiteral("HART"));
    }
}

QImage devicePicture(int size)
{
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    drawDevice(p, QRect(0, 0, size, size));
    return image;
}

QImage logo()
{
    const QFont bold = font(12, true);
    const QFont regular = font(12, false);
    const int firstWidth = QFontMetrics(bold).horizontalAdvance(QStringLiteral("zeb"));
    const int secondWidth = QFontMetrics(regular).horizontalAdvance(QStringLiteral("systems"));
    QImage image(22 + firstWidth + 4 + secondWidth + 2, 19, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kPageBlue);
    p.drawRoundedRect(QRectF(1, 1, 17, 17), 3, 3);
    // A wave across the square: the field signal.
    QPainterPath wave;
    wave.moveTo(3.5, 10);
    wave.cubicTo(6, 4, 8, 4, 9.5, 9.5);
    wave.cubicTo(11, 15, 13, 15, 15.5, 9);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.setPen(kDarkBlue);
    p.setFont(bold);
    p.drawText(QRectF(22, 0, firstWidth, 19), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("zeb"));
    p.setPen(kPageBlue);
    p.setFont(regular);
    p.drawText(QRectF(22 + firstWidth + 4, 0, secondWidth, 19), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("systems"));
    return image;
}

enum class Link { Connected, Disconnected, Error };

// A 52 x 13 bar: the cable between gateway and parent, joined or broken.
QImage statusBar(Link link)
{
    QImage image = transparentImage(52, 13);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor fill = link == Link::Connected      ? QColor(46, 158, 62)
                        : link == Link::Disconnected ? QColor(128, 134, 144)
                                                     : QColor(200, 55, 45);
    p.setPen(fill.darker(130));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 51, 12), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Plug at the left, socket at the right.
    p.drawRect(QRect(6, 4, 8, 5));
    p.drawRect(QRect(38, 4, 8, 5));
    if (link == Link::Connected) {
        p.drawRect(QRect(14, 5, 24, 3));
    } else {
        p.drawRect(QRect(14, 5, 6, 3));
        p.drawRect(QRect(32, 5, 6, 3));
        p.setRenderHint(QPainter::Antialiasing, true);
        if (link == Link::Error) {
            p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(24, 3.5), QPointF(28, 9.5));
            p.drawLine(QPointF(28, 3.5), QPointF(24, 9.5));
        }
    }
    return image;
}

bool save(const QImage& image, const std::string& folder, const std::string& name)
{
    const std::string file = folder + "/" + name;
    const bool ok = name.ends_with(".gif") ? GifWriter::write(image, file)
                                           : image.save(QString::fromStdString(file));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", file.c_str());
    // The GIF must read back as it was drawn.
    if (ok && name.ends_with(".gif")) {
        const QImage back = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = image.convertToFormat(QImage::Format_ARGB32);
        bool same = back.size() == drawn.size();
        for (int y = 0; same && y < drawn.height(); ++y)
            for (int x = 0; same && x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y);
                const QRgb b = back.pixel(x, y);
                if ((qAlpha(a) < 128) != (qAlpha(b) < 128))
                    same = false;
                else if (qAlpha(a) >= 128)
                    same = std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 &&
                           std::abs(qBlue(a) - qBlue(b)) < 24;
            }
        if (!same) {
            std::printf("FAILED to read back %s as drawn\n", file.c_str());
            return false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures RESOURCES_FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string folder = argv[1];
    bool ok = true;
    ok &= save(logo().convertToFormat(QImage::Format_RGB888), folder, "manufacturer_logo.bmp");
    ok &= save(devicePicture(48), folder, "Device_small.gif");
    ok &= save(devicePicture(128), folder, "device.gif");
    ok &= save(devicePicture(32), folder, "device.ico");
    ok &= save(statusBar(Link::Connected), folder, "connected_13x52.gif");
    ok &= save(statusBar(Link::Disconnected), folder, "disconn_13x52.gif");
    ok &= save(statusBar(Link::Error), folder, "error_13x52.gif");
    return ok ? 0 : 1;
}
