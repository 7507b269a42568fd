// make_sidebar_art: draws the sidebar bitmaps with GDI and writes them as plain
// 24-bit BMPs, with imagelist.txt listing them in the order the viewer loads them.
//   make_sidebar_art <stage folder>
// List positions: 0-7 the category strips, 8-10 placeholders the viewer loads
// but never draws, 11-18 the tabs of the current category, 19-21 the command
// slots (print, name plate, quit), 22-29 the tabs of the other categories.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "base/screen_layout.h"
#include "base/text_drawing.h"

namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb rgbOf(uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
            static_cast<int>(colour >> 16 & 0xFF)};
}

struct Category {
    const char* label;
    Rgb colour;  // the colour the index list gives the category's labels
};

// Slot 0 (all entries) takes the grey of the entries of no category.
constexpr const char* kCategoryLabels[kCategorySlotCount] = {"全項目", "野菜",   "果物",       "穀類",
                                                             "肉類",   "魚介類", "豆・種実類", "香辛料・薬草"};
constexpr Category category(int slot) {
    return {kCategoryLabels[slot], rgbOf(kCategories[slot == 0 ? kCategoryCount : slot - 1].background)};
}

enum class Glyph { none, printer, power };
struct Command {
    const char* label;
    Glyph glyph;
};
constexpr Command kPrint{"印刷", Glyph::printer}, kQuit{"終了", Glyph::power};

constexpr int kTabWidth = kSidebarWidth, kTabHeight = kSidebarSlotHeight;
constexpr int kStripHeight = kFrameHeight;
constexpr int kSpareSide = 10;
constexpr int kScale = 4;  // shapes are drawn this much larger and averaged down, for smooth edges
constexpr int kTabLeft = 3, kTabTop = 3, kTabBottom = 47, kTabRadius = 10;
constexpr int kCommandInset = 6;  // command buttons stand free of the strip
constexpr int kMarkerX = 12;
constexpr int kGlyphLeft = 18, kGlyphTop = 15;  // a 20 x 20 picture before a command label
constexpr int kLabelX = 23, kCommandLabelX = 44;
constexpr int kFontHeight = 18;

constexpr Rgb kWhiteRgb{255, 255, 255};
constexpr Rgb kLabelInk = rgbOf(kBodyText);  // the index list's label colour
constexpr Rgb kCommandTop{251, 252, 254}, kCommandBottom{224, 228, 236}, kCommandEdge{160, 167, 182};
constexpr Rgb kQuitRed{196, 74, 74};
constexpr Rgb kPlateInk{150, 154, 166}, kPlateRule{214, 217, 224};

constexpr Rgb mix(Rgb a, Rgb b, int percentOfB) {
    return {a.r + (b.r - a.r) * percentOfB / 100, a.g + (b.g - a.g) * percentOfB / 100,
            a.b + (b.b - a.b) * percentOfB / 100};
}
constexpr Rgb darker(Rgb c, int percent) { return mix(c, {0, 0, 0}, percent); }
constexpr Rgb lighter(Rgb c, int percent) { return mix(c, kWhiteRgb, percent); }
constexpr COLORREF ref(Rgb c) { return RGB(c.r, c.g, c.b); }

// How one tab or command button is painted.
struct ButtonStyle {
    Rgb top, bottom, edge;  // vertical gradient and outline
    Rgb ink, shadow;        // label, and its 1-pixel drop shadow
    bool withShadow;        // a white label needs one to read on the lighter colours
    bool openRight;         // tabs run on under the strip; command buttons are closed
};

constexpr ButtonStyle currentTab(Rgb c) {
    return {lighter(c, 14), darker(c, 12), darker(c, 38), kWhiteRgb, darker(c, 55), true, true};
}
constexpr ButtonStyle otherTab(Rgb c) {
    return {lighter(c, 80), lighter(c, 58), lighter(darker(c, 25), 25), kLabelInk, {}, false, true};
}
constexpr ButtonStyle kCommandStyle{kCommandTop, kCommandBottom, kCommandEdge, kLabelInk, {}, false, false};

// A white 24-bit bottom-up DIB section selected into its own DC; its rows are
// laid out exactly as a BMP file stores them.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader = header();
        section_ = OwnedBitmap{CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0)};
        if (!dc_.get() || !section_.get() || !bits_) return;
        selection_.emplace(dc_.get(), section_.get());
        fillSolid(dc_.get(), {0, 0, width, height}, ref(kWhiteRgb));
    }
    bool ok() const { return selection_.has_value(); }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return (width_ * 3 + 3) / 4 * 4; }
    DWORD imageBytes() const { return static_cast<DWORD>(stride() * height_); }
    const unsigned char* bits() const {
        GdiFlush();
        return static_cast<const unsigned char*>(bits_);
    }
    unsigned char* row(int y) {  // y counted from the top
        GdiFlush();
        return static_cast<unsigned char*>(bits_) + static_cast<std::size_t>(height_ - 1 - y) * stride();
    }
    BITMAPINFOHEADER header() const {
        BITMAPINFOHEADER h = {};
        h.biSize = sizeof h;
        h.biWidth = width_;
        h.biHeight = height_;  // positive: bottom-up rows
        h.biPlanes = 1;
        h.biBitCount = 24;
        h.biCompression = BI_RGB;
        h.biSizeImage = imageBytes();
        h.biXPelsPerMeter = h.biYPelsPerMeter = 2835;  // 72 dpi
        return h;
    }

private:
    int width_, height_;
    OwnedDC dc_{CreateCompatibleDC(nullptr)};
    OwnedBitmap section_;
    void* bits_ = nullptr;
    std::optional<SelectionScope> selection_;  // after the bitmap, so it is deselected first
};

// Averages each kScale x kScale block of big into one pixel of small.
void shrinkInto(Canvas& big, Canvas& small) {
    for (int y = 0; y < small.height(); ++y) {
        unsigned char* out = small.row(y);
        for (int x = 0; x < small.width(); ++x)
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < kScale; ++dy) {
                    const unsigned char* in = big.row(y * kScale + dy);
                    for (int dx = 0; dx < kScale; ++dx) sum += in[(x * kScale + dx) * 3 + channel];
                }
                out[x * 3 + channel] = static_cast<unsigned char>((sum + kScale * kScale / 2) / (kScale * kScale));
            }
    }
}

// Fills the region row by row from top to bottom colour, then outlines it
// one (final) pixel wide.
void paintShape(HDC dc, HRGN shape, const RECT& box, Rgb top, Rgb bottom, Rgb edge) {
    SelectClipRgn(dc, shape);
    int rows = box.bottom - box.top;
    for (int y = 0; y < rows; ++y) {
        Rgb c = mix(top, bottom, y * 100 / (rows - 1));
        fillSolid(dc, {box.left, box.top + y, box.right, box.top + y + 1}, ref(c));
    }
    SelectClipRgn(dc, nullptr);
    OwnedBrush edgeBrush{CreateSolidBrush(ref(edge))};
    FrameRgn(dc, shape, edgeBrush.get(), kScale, kScale);
}

void fillPolygon(HDC dc, const POINT* points, int count, Rgb fill, Rgb edge) {
    OwnedBrush brush{CreateSolidBrush(ref(fill))};
    OwnedPen pen{CreatePen(PS_SOLID, 1, ref(edge))};
    SelectionScope useBrush(dc, brush.get());
    SelectionScope usePen(dc, pen.get());
    Polygon(dc, points, count);
}

void fillEllipse(HDC dc, RECT box, Rgb fill, Rgb edge) {
    OwnedBrush brush{CreateSolidBrush(ref(fill))};
    OwnedPen pen{CreatePen(PS_SOLID, kScale, ref(edge))};
    SelectionScope useBrush(dc, brush.get());
    SelectionScope usePen(dc, pen.get());
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
}

// The small pictures before the command labels, drawn at kScale.
void drawGlyph(HDC dc, Glyph glyph, int left, int top) {
    auto at = [&](int x, int y) { return POINT{(left + x) * kScale, (top + y) * kScale}; };
    auto box = [&](int x0, int y0, int x1, int y1) {
        return RECT{(left + x0) * kScale, (top + y0) * kScale, (left + x1) * kScale, (top + y1) * kScale};
    };
    if (glyph == Glyph::printer) {
        const Rgb body{108, 118, 140}, paper{255, 255, 255};
        POINT sheetIn[] = {at(5, 1), at(15, 1), at(15, 8), at(5, 8)};
        fillPolygon(dc, sheetIn, 4, paper, body);
        RECT bodyBox = box(1, 6, 19, 16);
        OwnedRegion bodyShape{CreateRoundRectRgn(bodyBox.left, bodyBox.top, bodyBox.right + 1, bodyBox.bottom + 1,
                                                 4 * kScale, 4 * kScale)};
        paintShape(dc, bodyShape.get(), bodyBox, lighter(body, 25), body, darker(body, 20));
        POINT sheetOut[] = {at(5, 12), at(15, 12), at(15, 19), at(5, 19)};
        fillPolygon(dc, sheetOut, 4, paper, body);
        fillSolid(dc, box(7, 14, 13, 15), ref(lighter(body, 40)));
        fillSolid(dc, box(7, 16, 12, 17), ref(lighter(body, 40)));
        fillEllipse(dc, box(15, 8, 17, 10), {130, 210, 120}, {90, 160, 80});
    } else if (glyph == Glyph::power) {
        OwnedPen pen{CreatePen(PS_SOLID, 2 * kScale, ref(kQuitRed))};
        SelectionScope usePen(dc, pen.get());
        RECT ring = box(2, 3, 18, 19);
        // Counter-clockwise from the upper left round to the upper right: a ring open at the top.
        POINT from = at(6, 5), to = at(14, 5);
        Arc(dc, ring.left, ring.top, ring.right, ring.bottom, from.x, from.y, to.x, to.y);
        MoveToEx(dc, at(10, 1).x, at(10, 1).y, nullptr);
        LineTo(dc, at(10, 10).x, at(10, 10).y);
    }
}

OwnedFont makeFont(int height, bool bold, const char* face, DWORD family) {
    return OwnedFont{CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | family,
                                 face)};
}

// Draws text with its left end at x, centred in the height; returns its width.
int drawText(HDC dc, const char* text, int x, int height, HFONT font, Rgb ink, const Rgb* shadow) {
    SelectionScope useFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    int length = static_cast<int>(std::strlen(text));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, length, &size);
    int y = (height - size.cy) / 2;
    if (shadow) {
        SetTextColor(dc, ref(*shadow));
        TextOutA(dc, x + 1, y + 1, text, length);
    }
    SetTextColor(dc, ref(ink));
    TextOutA(dc, x, y, text, length);
    return size.cx;
}

// A 180 x 50 tab (open to the right, where it meets the strip) or command
// button, with its marker or glyph; the label is left to the caller.
bool drawButtonShape(Canvas& button, const ButtonStyle& style, Rgb colour, bool current, Glyph glyph) {
    Canvas big(kTabWidth * kScale, kTabHeight * kScale);
    if (!big.ok()) return false;
    HDC dc = big.dc();
    int right = style.openRight ? kTabWidth + kTabRadius : kTabWidth - kCommandInset;
    int left = style.openRight ? kTabLeft : kCommandInset;
    RECT box{left * kScale, kTabTop * kScale, right * kScale, kTabBottom * kScale};
    OwnedRegion shape{CreateRoundRectRgn(box.left, box.top, box.right + 1, box.bottom + 1, 2 * kTabRadius * kScale,
                                         2 * kTabRadius * kScale)};
    paintShape(dc, shape.get(), box, style.top, style.bottom, style.edge);
    if (style.openRight) {
        // A faint light line under the top edge gives the tab some depth.
        SelectClipRgn(dc, shape.get());
        RECT sheen{box.left, box.top + kScale, box.right, box.top + 2 * kScale};
        fillSolid(dc, sheen, ref(mix(style.top, kWhiteRgb, 45)));
        SelectClipRgn(dc, nullptr);
        int middle = kTabHeight / 2;
        if (current) {
            POINT arrow[] = {{(kMarkerX - 3) * kScale, (middle - 6) * kScale},
                             {(kMarkerX + 4) * kScale, middle * kScale},
                             {(kMarkerX - 3) * kScale, (middle + 6) * kScale}};
            fillPolygon(dc, arrow, 3, kWhiteRgb, kWhiteRgb);
        } else {
            fillEllipse(
                dc, {(kMarkerX - 4) * kScale, (middle - 4) * kScale, (kMarkerX + 4) * kScale, (middle + 4) * kScale},
                colour, darker(colour, 25));
        }
    }
    drawGlyph(dc, glyph, kGlyphLeft, kGlyphTop);
    shrinkInto(big, button);
    return true;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool writeBmp(const std::string& path, const Canvas& canvas) {
    BITMAPINFOHEADER info = canvas.header();
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + canvas.imageBytes();
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<const char*>(canvas.bits()), canvas.imageBytes());
    return writeFile(path, bytes);
}

// Writes each bitmap as sidebar/NN.bmp, NN being its list position, and lists it.
class Art {
public:
    explicit Art(std::string stage) : stage_(std::move(stage)) {}

    // Draws a width x height bitmap with draw(Canvas&) -> bool and writes it.
    template <typename Draw>
    bool add(int position, int width, int height, Draw draw) {
        char name[32];
        std::snprintf(name, sizeof name, "sidebar/%02d.bmp", position);
        Canvas canvas(width, height);
        if (position != written_ || !canvas.ok() || !draw(canvas) || !writeBmp(stage_ + "/" + name, canvas)) {
            std::fprintf(stderr, "make_sidebar_art: cannot write %s/%s\n", stage_.c_str(), name);
            return false;
        }
        list_ += name;
        list_ += '\n';
        ++written_;
        return true;
    }

    bool finish() {
        if (written_ != kSidebarBitmapCount) {
            std::fprintf(stderr, "make_sidebar_art: %d bitmaps, not %d\n", written_, kSidebarBitmapCount);
            return false;
        }
        if (!writeFile(stage_ + "/imagelist.txt", list_ + "EOF\n")) {
            std::fprintf(stderr, "make_sidebar_art: cannot write %s/imagelist.txt\n", stage_.c_str());
            return false;
        }
        return true;
    }

private:
    std::string stage_, list_;
    int written_ = 0;
};

bool drawStrip(Canvas& canvas, Rgb colour) {
    fillSolid(canvas.dc(), {0, 0, kStripWidth, kStripHeight}, ref(colour));
    // A darker rule along the content side closes the band off from the page.
    fillSolid(canvas.dc(), {kStripWidth - 1, 0, kStripWidth, kStripHeight}, ref(darker(colour, 22)));
    return true;
}

bool drawCategoryTab(Canvas& tab, const Category& category, bool current, HFONT font) {
    ButtonStyle style = current ? currentTab(category.colour) : otherTab(category.colour);
    if (!drawButtonShape(tab, style, category.colour, current, Glyph::none)) return false;
    int width = drawText(tab.dc(), category.label, kLabelX, kTabHeight, font, style.ink,
                         style.withShadow ? &style.shadow : nullptr);
    if (kLabelX + width + 1 > kNarrowestTab) {  // + 1 for the drop shadow
        std::fprintf(stderr, "make_sidebar_art: a label %d pixels wide would be cut off\n", width);
        return false;
    }
    return true;
}

bool drawCommand(Canvas& button, const Command& command, HFONT font) {
    if (!drawButtonShape(button, kCommandStyle, kCommandEdge, false, command.glyph)) return false;
    drawText(button.dc(), command.label, kCommandLabelX, kTabHeight, font, kCommandStyle.ink, nullptr);
    return true;
}

// The slot without a command: the name on white between two hairlines.
bool drawNamePlate(Canvas& plate) {
    OwnedFont font = makeFont(20, false, "IPAPMincho", FF_ROMAN);
    if (!font.get()) return false;
    SIZE size{};
    {
        SelectionScope useFont(plate.dc(), font.get());
        GetTextExtentPoint32A(plate.dc(), "Verdalis", 8, &size);
    }
    int x = (kTabWidth - size.cx) / 2;
    drawText(plate.dc(), "Verdalis", x, kTabHeight, font.get(), kPlateInk, nullptr);
    int y = kTabHeight / 2 + 1;
    fillSolid(plate.dc(), {16, y, x - 10, y + 1}, ref(kPlateRule));
    fillSolid(plate.dc(), {x + size.cx + 10, y, kTabWidth - 16, y + 1}, ref(kPlateRule));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sidebar_art <stage folder>\n");
        return 2;
    }
    Art art(argv[1]);
    std::string folder = std::string(argv[1]) + "/sidebar";
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "make_sidebar_art: cannot create %s\n", folder.c_str());
        return 1;
    }
    OwnedFont regular = makeFont(kFontHeight, false, "IPAGothic", FF_SWISS);
    OwnedFont bold = makeFont(kFontHeight, true, "IPAGothic", FF_SWISS);
    if (!regular.get() || !bold.get()) {
        std::fprintf(stderr, "make_sidebar_art: no Japanese font\n");
        return 1;
    }
    auto tab = [&](int base, int c, bool current) {
        return art.add(base + c, kTabWidth, kTabHeight, [&](Canvas& canvas) {
            return drawCategoryTab(canvas, category(c), current, current ? bold.get() : regular.get());
        });
    };
    auto command = [&](int position, const Command& which) {
        return art.add(position, kTabWidth, kTabHeight,
                       [&](Canvas& canvas) { return drawCommand(canvas, which, regular.get()); });
    };

    bool ok = true;
    for (int c = 0; ok && c < kCategorySlotCount; ++c)
        ok = art.add(kStripBitmaps + c, kStripWidth, kStripHeight,
                     [&](Canvas& canvas) { return drawStrip(canvas, category(c).colour); });
    for (int i = 0; ok && i < 3; ++i)  // a white square is all a never-drawn bitmap needs
        ok = art.add(kSpareBitmaps + i, kSpareSide, kSpareSide, [](Canvas&) { return true; });
    for (int c = 0; ok && c < kCategorySlotCount; ++c) ok = tab(kCurrentButtonBitmaps, c, true);
    ok = ok && command(sidebarButtonBitmap(kPrintSlot, 0), kPrint) &&
         art.add(sidebarButtonBitmap(kPrintSlot + 1, 0), kTabWidth, kTabHeight,
                 [](Canvas& canvas) { return drawNamePlate(canvas); }) &&
         command(sidebarButtonBitmap(kQuitSlot, 0), kQuit);
    for (int c = 0; ok && c < kCategorySlotCount; ++c) ok = tab(kOtherButtonBitmaps, c, false);
    return ok && art.finish() ? 0 : 1;
}
