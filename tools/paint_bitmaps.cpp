// Paints the game's bitmaps (textures and the window icon) into a folder as BMP files.
//
// The pictures in resources/ are this program's output and are embedded in the executable at
// build time; after changing a picture here, regenerate them from the repository root with
//
//   g++ -std=c++20 -O2 tools/paint_bitmaps.cpp -o /tmp/paint && /tmp/paint resources
//
// and commit the changed files. The output is the same, byte for byte, on every run: pictures
// are fixed shapes, and what looks random (grass, the tree's outline) comes from a private
// fixed-seed generator. Only +, -, *, / and sqrt are used on floating-point values, so no
// library routine can change a pixel.
//
// Index of this file:
// [SECTION] Canvas and shapes
// [SECTION] BMP files
// [SECTION] Ground and trees
// [SECTION] Signals
// [SECTION] Vehicles
// [SECTION] Buildings
// [SECTION] Window icon
// [SECTION] Entry point

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

//-------------------------------------------------------------------------------------------------
// [SECTION] Canvas and shapes
//-------------------------------------------------------------------------------------------------

struct Rgb {
    uint8_t r, g, b;
    auto operator<=>(const Rgb&) const = default;
};

// Pure black is the cut-away background of the sign and tree bitmaps; everything dark that must
// stay visible uses a near-black instead.
constexpr Rgb TransparentBlack{0, 0, 0};
// Pure white is the cut-away background of the wheel.
constexpr Rgb TransparentWhite{255, 255, 255};

// A picture in true colour, row 0 at the top; the BMP writer turns it bottom-up.
struct Canvas {
    int width;
    int height;
    std::vector<Rgb> pixels;

    Canvas(int w, int h, Rgb background) : width(w), height(h), pixels(size_t(w) * size_t(h), background) {}

    void Set(int x, int y, Rgb colour)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[size_t(y) * size_t(width) + size_t(x)] = colour;
    }
    Rgb Get(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Shapes are tested at pixel centres (x + 0.5, y + 0.5); rectangles are half-open [x0, x1).
void FillRect(Canvas& canvas, int x0, int y0, int x1, int y1, Rgb colour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            canvas.Set(x, y, colour);
}

bool IsInDisc(int x, int y, double centreX, double centreY, double radius)
{
    double dx = x + 0.5 - centreX;
    double dy = y + 0.5 - centreY;
    return dx * dx + dy * dy <= radius * radius;
}

void FillDisc(Canvas& canvas, double centreX, double centreY, double radius, Rgb colour)
{
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (IsInDisc(x, y, centreX, centreY, radius))
                canvas.Set(x, y, colour);
}

bool IsInRoundedRect(int x, int y, double x0, double y0, double x1, double y1, double radius)
{
    double px = x + 0.5;
    double py = y + 0.5;
    if (px < x0 || px > x1 || py < y0 || py > y1)
        return false;
    double nearestX = std::clamp(px, x0 + radius, x1 - radius);
    double nearestY = std::clamp(py, y0 + radius, y1 - radius);
    double dx = px - nearestX;
    double dy = py - nearestY;
    return dx * dx + dy * dy <= radius * radius;
}

void FillRoundedRect(Canvas& canvas, double x0, double y0, double x1, double y1, double radius, Rgb colour)
{
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (IsInRoundedRect(x, y, x0, y0, x1, y1, radius))
                canvas.Set(x, y, colour);
}

// The painter's own generator (xorshift32), so that the pictures never depend on the game's.
struct PainterRandom {
    uint32_t state;

    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double NextUnit() { return (Next() >> 8) * (1.0 / 16777216.0); }
    int NextBelow(int bound) { return int(Next() % uint32_t(bound)); }
};

// Smooth noise on a square lattice that wraps around, so the picture tiles without a seam.
struct WrappingNoise {
    int cells;
    std::vector<double> lattice;

    WrappingNoise(int cellCount, PainterRandom& random) : cells(cellCount), lattice(size_t(cellCount) * size_t(cellCount))
    {
        for (double& value : lattice)
            value = random.NextUnit();
    }

    // u and v run from 0 to 1 across the picture.
    double At(double u, double v) const
    {
        double fx = u * cells;
        double fy = v * cells;
        int ix = int(fx);
        int iy = int(fy);
        double tx = fx - ix;
        double ty = fy - iy;
        tx = tx * tx * (3.0 - 2.0 * tx);
        ty = ty * ty * (3.0 - 2.0 * ty);
        auto value = [&](int cx, int cy) { return lattice[size_t((cy % cells) * cells + (cx % cells))]; };
        double top = value(ix, iy) + (value(ix + 1, iy) - value(ix, iy)) * tx;
        double bottom = value(ix, iy + 1) + (value(ix + 1, iy + 1) - value(ix, iy + 1)) * tx;
        return top + (bottom - top) * ty;
    }
};

uint8_t ToChannel(double value)
{
    return uint8_t(std::clamp(value, 0.0, 255.0) + 0.5);
}

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {ToChannel(a.r + (b.r - a.r) * t), ToChannel(a.g + (b.g - a.g) * t), ToChannel(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb colour, double factor)
{
    return {ToChannel(colour.r * factor), ToChannel(colour.g * factor), ToChannel(colour.b * factor)};
}

//-------------------------------------------------------------------------------------------------
// [SECTION] BMP files
//-------------------------------------------------------------------------------------------------

void PutU16(std::vector<uint8_t>& bytes, uint32_t value)
{
    bytes.push_back(uint8_t(value & 0xFF));
    bytes.push_back(uint8_t((value >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

// A BITMAPFILEHEADER and BITMAPINFOHEADER, then the colour table (4 and 8 bits per pixel, only
// the colours the picture uses, in ascending order so that black is entry 0), then the rows
// from the bottom up, each padded to a multiple of 4 bytes. Returns no bytes when the picture
// has more colours than the depth allows.
std::vector<uint8_t> EncodeBmp(const Canvas& canvas, int bitsPerPixel)
{
    std::vector<Rgb> palette;
    std::map<Rgb, uint32_t> paletteIndex;
    if (bitsPerPixel <= 8) {
        palette = canvas.pixels;
        std::sort(palette.begin(), palette.end());
        palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
        if (palette.size() > (size_t(1) << bitsPerPixel))
            return {};
        for (size_t i = 0; i < palette.size(); ++i)
            paletteIndex[palette[i]] = uint32_t(i);
    }

    uint32_t rowBytes = ((uint32_t(canvas.width) * uint32_t(bitsPerPixel) + 31) / 32) * 4;
    uint32_t imageBytes = rowBytes * uint32_t(canvas.height);
    uint32_t pixelOffset = 14 + 40 + 4 * uint32_t(palette.size());

    std::vector<uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    PutU32(bytes, pixelOffset + imageBytes);
    PutU16(bytes, 0);
    PutU16(bytes, 0);
    PutU32(bytes, pixelOffset);

    PutU32(bytes, 40);
    PutU32(bytes, uint32_t(canvas.width));
    PutU32(bytes, uint32_t(canvas.height));  // positive: rows stored bottom-up
    PutU16(bytes, 1);
    PutU16(bytes, uint32_t(bitsPerPixel));
    PutU32(bytes, 0);  // no compression
    PutU32(bytes, imageBytes);
    PutU32(bytes, 2835);  // 72 dots per inch
    PutU32(bytes, 2835);
    PutU32(bytes, uint32_t(palette.size()));
    PutU32(bytes, 0);

    for (Rgb colour : palette) {
        bytes.push_back(colour.b);
        bytes.push_back(colour.g);
        bytes.push_back(colour.r);
        bytes.push_back(0);
    }

    for (int y = canvas.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < canvas.width; ++x) {
            Rgb colour = canvas.Get(x, y);
            if (bitsPerPixel == 24) {
                row[size_t(x) * 3 + 0] = colour.b;
                row[size_t(x) * 3 + 1] = colour.g;
                row[size_t(x) * 3 + 2] = colour.r;
            } else if (bitsPerPixel == 8) {
                row[size_t(x)] = uint8_t(paletteIndex[colour]);
            } else {
                // 4 bits: the left pixel of each pair in the high nibble.
                uint8_t index = uint8_t(paletteIndex[colour]);
                row[size_t(x) / 2] |= (x % 2 == 0) ? uint8_t(index << 4) : index;
            }
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

bool WriteBmp(const std::filesystem::path& folder, const char* name, const Canvas& canvas, int bitsPerPixel)
{
    std::vector<uint8_t> bytes = EncodeBmp(canvas, bitsPerPixel);
    if (bytes.empty()) {
        std::fprintf(stderr, "paint_bitmaps: %s has too many colours for %d bits per pixel\n", name, bitsPerPixel);
        return false;
    }
    std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "paint_bitmaps: cannot write %s\n", (folder / name).string().c_str());
        return false;
    }
    return true;
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Ground and trees
//-------------------------------------------------------------------------------------------------

// One copy of the grass is stretched over a whole field beside the line, so each pixel covers
// many metres: broad soft patches of green and teal read as meadow and undergrowth from the
// cab. The noise wraps, so neighbouring fields meet without a hard edge.
Canvas PaintGrass()
{
    PainterRandom random{0x6A055EEDu};
    WrappingNoise broadHue(4, random);
    WrappingNoise fineHue(8, random);
    WrappingNoise broadLight(4, random);
    WrappingNoise fineLight(16, random);
    constexpr Rgb meadowGreen{74, 138, 46};
    constexpr Rgb undergrowthTeal{34, 120, 100};

    Canvas canvas(32, 32, meadowGreen);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            double u = x / 32.0;
            double v = y / 32.0;
            double hue = 0.65 * broadHue.At(u, v) + 0.35 * fineHue.At(u, v);
            double light = 0.6 * broadLight.At(u, v) + 0.4 * fineLight.At(u, v);
            // Stretch the hue so that clear green and clear teal patches both appear.
            double teal = std::clamp((hue - 0.4) * 2.2, 0.0, 1.0);
            canvas.Set(x, y, Scale(Mix(meadowGreen, undergrowthTeal, teal), 0.72 + 0.45 * light));
        }
    }
    return canvas;
}

// A spruce on a black (cut-away) background. The board is 4 m wide and 10 m high, so the
// picture is stretched two and a half times in height: the tree is painted broad here to stand
// slim in the forest. Branches hang in tiers, each wider at its lower edge, with ragged tips.
Canvas PaintTree()
{
    PainterRandom random{0x7EEE0001u};
    constexpr Rgb needleShades[] = {{14, 46, 20}, {22, 62, 28}, {32, 80, 36}, {46, 100, 44}};
    constexpr Rgb barkLight{120, 82, 48};
    constexpr Rgb bark{94, 62, 36};
    constexpr Rgb barkShadow{66, 42, 24};

    Canvas canvas(64, 64, TransparentBlack);

    // The trunk first; the lowest branches hide its top.
    for (int y = 44; y < 64; ++y) {
        FillRect(canvas, 29, y, 30, y + 1, barkLight);
        FillRect(canvas, 30, y, 33, y + 1, bark);
        FillRect(canvas, 33, y, 35, y + 1, barkShadow);
    }
    // The root flare where the trunk meets the ground.
    FillRect(canvas, 28, 62, 36, 64, bark);
    canvas.Set(28, 62, barkLight);

    constexpr int treeTop = 2;
    constexpr int lowestBranch = 56;
    constexpr int tierRows = 9;
    for (int y = treeTop; y <= lowestBranch; ++y) {
        double downTree = double(y - treeTop) / double(lowestBranch - treeTop);
        double downTier = double((y - treeTop) % tierRows) / double(tierRows - 1);
        double halfWidth = 1.0 + 29.0 * downTree * (0.55 + 0.45 * downTier) + (random.NextBelow(3) - 1);
        for (int x = 0; x < 64; ++x) {
            double dx = x + 0.5 - 32.0;
            double distance = dx < 0 ? -dx : dx;
            if (distance > halfWidth)
                continue;
            // Ragged branch tips: the outermost needles are thinned at random.
            if (distance > halfWidth - 2.0 && random.NextBelow(3) == 0)
                continue;
            // Light from the left; the top of each tier lies in the shadow of the one above.
            int shade = 1;
            if (dx < -0.3 * halfWidth)
                shade += 1;
            if (dx > 0.4 * halfWidth)
                shade -= 1;
            if (downTier < 0.3)
                shade -= 1;
            int speckle = random.NextBelow(5);
            if (speckle == 0)
                shade += 1;
            else if (speckle == 1)
                shade -= 1;
            canvas.Set(x, y, needleShades[std::clamp(shade, 0, 3)]);
        }
    }
    return canvas;
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Signals
//-------------------------------------------------------------------------------------------------

constexpr Rgb SignalHeadEdge{72, 72, 76};
constexpr Rgb SignalHeadFace{18, 18, 20};
constexpr Rgb LampSocket{50, 50, 54};
constexpr Rgb LampDark{30, 34, 34};
constexpr Rgb PostLight{176, 176, 180};
constexpr Rgb Post{140, 140, 144};
constexpr Rgb PostShadow{100, 100, 104};
constexpr Rgb PostFoot{86, 86, 90};

struct LampColours {
    Rgb lens;
    Rgb glow;
};
constexpr LampColours GreenLamp{{30, 210, 80}, {170, 255, 190}};
constexpr LampColours RedLamp{{230, 30, 20}, {255, 170, 150}};
constexpr LampColours WhiteLamp{{225, 225, 215}, {250, 250, 244}};

// A lamp opening in the signal head: a dark socket, and a lens that is either dark or lit with
// a bright centre.
void PaintLamp(Canvas& canvas, double centreX, double centreY, double radius, const LampColours* lit)
{
    FillDisc(canvas, centreX, centreY, radius + 2.0, LampSocket);
    if (lit == nullptr) {
        FillDisc(canvas, centreX, centreY, radius, LampDark);
        return;
    }
    FillDisc(canvas, centreX, centreY, radius, lit->lens);
    FillDisc(canvas, centreX, centreY, radius * 0.45, lit->glow);
}

// A round grey mast with its light side to the left, standing on a foot plate.
void PaintPost(Canvas& canvas, int left, int width, int top)
{
    int bottom = canvas.height;
    FillRect(canvas, left, top, left + width, bottom, Post);
    FillRect(canvas, left, top, left + 1, bottom, PostShadow);
    FillRect(canvas, left + 1, top, left + 3, bottom, PostLight);
    FillRect(canvas, left + width - 2, top, left + width, bottom, PostShadow);
    FillRect(canvas, left - 3, bottom - 8, left + width + 3, bottom, PostFoot);
}

// The main signal: a tall head with rounded ends holding three lamps, green at the top, red in
// the middle and green at the bottom, on a mast. The board is 0.6 m wide and 5 m high.
Canvas PaintMainSignal(const LampColours* topLamp, const LampColours* middleLamp, const LampColours* bottomLamp)
{
    Canvas canvas(32, 256, TransparentBlack);
    PaintPost(canvas, 12, 8, 96);
    FillRoundedRect(canvas, 3.0, 2.0, 29.0, 100.0, 13.0, SignalHeadEdge);
    FillRoundedRect(canvas, 4.0, 3.0, 28.0, 99.0, 12.0, SignalHeadFace);
    PaintLamp(canvas, 16.0, 24.0, 7.5, topLamp);
    PaintLamp(canvas, 16.0, 51.0, 7.5, middleLamp);
    PaintLamp(canvas, 16.0, 78.0, 7.5, bottomLamp);
    return canvas;
}

// The distant signal: a round black disc with a white arc on either side, its lamps in a
// column through the centre, on a mast. The board is 1 m wide and 4 m high.
Canvas PaintDistantSignal(const LampColours* upperLamp, const LampColours* centreLamp, const LampColours* lowerLamp)
{
    constexpr double centreX = 32.0;
    constexpr double centreY = 34.0;
    constexpr Rgb arcWhite{232, 232, 228};

    Canvas canvas(64, 256, TransparentBlack);
    PaintPost(canvas, 28, 8, 60);
    FillDisc(canvas, centreX, centreY, 30.0, SignalHeadEdge);
    FillDisc(canvas, centreX, centreY, 29.0, SignalHeadFace);
    // The arcs are the part of a ring within 60 degrees of the horizontal: |dx| >= r / 2.
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 64; ++x) {
            double dx = x + 0.5 - centreX;
            double dy = y + 0.5 - centreY;
            double squared = dx * dx + dy * dy;
            bool inRing = squared >= 22.5 * 22.5 && squared <= 26.5 * 26.5;
            if (inRing && 4.0 * dx * dx >= squared)
                canvas.Set(x, y, arcWhite);
        }
    }
    PaintLamp(canvas, centreX, centreY - 13.0, 5.5, upperLamp);
    PaintLamp(canvas, centreX, centreY, 5.5, centreLamp);
    PaintLamp(canvas, centreX, centreY + 13.0, 5.5, lowerLamp);
    return canvas;
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Vehicles
//-------------------------------------------------------------------------------------------------

constexpr Rgb RailcarOrange{232, 112, 22};
constexpr Rgb RailcarOrangeShadow{196, 88, 14};
constexpr Rgb RailcarSeam{128, 58, 10};
constexpr Rgb WindowFrame{22, 22, 24};
constexpr Rgb WindowGlass{34, 46, 60};
constexpr Rgb WindowReflection{70, 90, 112};
constexpr Rgb LampRim{84, 84, 88};

// A window in a rubber frame, with a diagonal sky reflection across the glass.
void PaintWindow(Canvas& canvas, int x0, int y0, int x1, int y1, double cornerRadius)
{
    FillRoundedRect(canvas, x0, y0, x1, y1, cornerRadius, WindowFrame);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!IsInRoundedRect(x, y, x0 + 1.0, y0 + 1.0, x1 - 1.0, y1 - 1.0, cornerRadius - 1.0))
                continue;
            int diagonal = (x - x0) - (y - y0);
            bool reflection = (diagonal >= 3 && diagonal < 7) || (diagonal >= 9 && diagonal < 11);
            canvas.Set(x, y, reflection ? WindowReflection : WindowGlass);
        }
    }
}

// The gutter along the top of a body panel, where the roof begins.
void PaintGutter(Canvas& canvas)
{
    FillRect(canvas, 0, 0, canvas.width, 2, RailcarOrangeShadow);
}

// One end of the railcar: two large windows, and below them a black band with a lamp at each
// side, white at the front and grey at the back.
Canvas PaintRailcarEnd(Rgb lampColour)
{
    constexpr Rgb band{16, 16, 18};
    Canvas canvas(64, 64, RailcarOrange);
    PaintGutter(canvas);
    PaintWindow(canvas, 3, 6, 30, 31, 3.0);
    PaintWindow(canvas, 34, 6, 61, 31, 3.0);
    FillRect(canvas, 0, 36, 64, 47, band);
    for (double lampX : {11.0, 53.0}) {
        FillDisc(canvas, lampX, 41.5, 4.5, LampRim);
        FillDisc(canvas, lampX, 41.5, 3.5, lampColour);
    }
    FillRect(canvas, 0, 61, 64, 64, RailcarOrangeShadow);
    return canvas;
}

// A stretch of the railcar's side with one long window.
Canvas PaintRailcarWindowSide()
{
    Canvas canvas(64, 64, RailcarOrange);
    PaintGutter(canvas);
    PaintWindow(canvas, 2, 8, 62, 34, 3.0);
    FillRect(canvas, 0, 61, 64, 64, RailcarOrangeShadow);
    return canvas;
}

// A pair of doors, each with a tall window and a handle beside the middle joint.
Canvas PaintRailcarDoors()
{
    constexpr Rgb handle{170, 170, 176};
    Canvas canvas(64, 64, RailcarOrange);
    PaintGutter(canvas);
    for (int doorLeft : {4, 33}) {
        int doorRight = doorLeft + 27;
        FillRect(canvas, doorLeft, 4, doorRight, 64, RailcarSeam);
        FillRect(canvas, doorLeft + 1, 5, doorRight - 1, 64, RailcarOrange);
        PaintWindow(canvas, doorLeft + 5, 10, doorRight - 5, 36, 2.0);
    }
    FillRect(canvas, 27, 40, 29, 48, handle);
    FillRect(canvas, 35, 40, 37, 48, handle);
    return canvas;
}

// The roof: grey, with a row of lamps over the front: a white lamp at each side and three
// small marker lamps between them, the middle one red.
Canvas PaintRailcarRoof()
{
    constexpr Rgb roofGrey{124, 124, 128};
    constexpr Rgb lampHousing{92, 92, 96};
    constexpr Rgb headlampWhite{246, 246, 236};
    constexpr Rgb markerYellow{236, 214, 120};
    constexpr Rgb markerRed{222, 30, 22};

    Canvas canvas(64, 64, roofGrey);
    FillRoundedRect(canvas, 4.0, 1.0, 60.0, 12.0, 3.0, lampHousing);
    FillDisc(canvas, 11.0, 6.5, 4.0, LampRim);
    FillDisc(canvas, 11.0, 6.5, 3.0, headlampWhite);
    FillDisc(canvas, 53.0, 6.5, 4.0, LampRim);
    FillDisc(canvas, 53.0, 6.5, 3.0, headlampWhite);
    FillDisc(canvas, 25.0, 6.5, 2.8, markerYellow);
    FillDisc(canvas, 32.0, 6.5, 2.8, markerRed);
    FillDisc(canvas, 39.0, 6.5, 2.8, markerYellow);
    return canvas;
}

// The goods wagon's side: brown boards with faint joints between them.
Canvas PaintWagonSide()
{
    constexpr Rgb boards{126, 72, 42};
    constexpr Rgb joint{108, 60, 34};
    Canvas canvas(64, 64, boards);
    for (int x = 7; x < 64; x += 8)
        FillRect(canvas, x, 0, x + 1, 64, joint);
    FillRect(canvas, 0, 0, 64, 2, joint);
    FillRect(canvas, 0, 62, 64, 64, joint);
    return canvas;
}

// The wheel as seen from the side: a grey disc with a dark tyre, a web and a hub, on white.
Canvas PaintWheel()
{
    Canvas canvas(64, 64, TransparentWhite);
    FillDisc(canvas, 32.0, 32.0, 31.5, Rgb{64, 64, 68});
    FillDisc(canvas, 32.0, 32.0, 27.5, Rgb{44, 44, 46});
    FillDisc(canvas, 32.0, 32.0, 26.5, Rgb{122, 122, 126});
    FillDisc(canvas, 32.0, 32.0, 19.5, Rgb{104, 104, 108});
    FillDisc(canvas, 32.0, 32.0, 18.5, Rgb{132, 132, 136});
    FillDisc(canvas, 32.0, 32.0, 9.5, Rgb{88, 88, 92});
    FillDisc(canvas, 32.0, 32.0, 4.5, Rgb{168, 168, 172});
    return canvas;
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Buildings
//-------------------------------------------------------------------------------------------------

// A house wall: one plain colour with a light grey window in the middle, its frame and
// crossbars a shade darker. The same picture covers a whole wall of a building.
Canvas PaintHouseWall(Rgb wallColour)
{
    constexpr Rgb frame{128, 128, 132};
    constexpr Rgb pane{200, 200, 206};
    Canvas canvas(32, 32, wallColour);
    FillRect(canvas, 10, 9, 22, 23, frame);
    FillRect(canvas, 11, 10, 21, 22, pane);
    FillRect(canvas, 15, 10, 17, 22, frame);
    FillRect(canvas, 11, 15, 21, 17, frame);
    return canvas;
}

// The signal box's upper storey: a dark wall that is nearly all window, small panes in a
// black grid, so the signalman sees the line both ways.
Canvas PaintSignalBoxWindows()
{
    constexpr Rgb wall{16, 16, 18};
    constexpr Rgb pane{206, 220, 228};
    Canvas canvas(32, 32, wall);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 3; ++row)
            FillRect(canvas, 2 + 7 * column, 3 + 8 * row, 8 + 7 * column, 10 + 8 * row, pane);
    return canvas;
}

Canvas PaintSignalBoxRoof()
{
    return Canvas(32, 32, Rgb{72, 72, 76});
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Window icon
//-------------------------------------------------------------------------------------------------

// The railcar coming head-on under a blue sky, on a grey track bed.
Canvas PaintIcon()
{
    constexpr Rgb skyTop{86, 146, 214};
    constexpr Rgb skyLow{168, 206, 240};
    constexpr Rgb ballast{98, 92, 86};
    constexpr Rgb rail{190, 190, 196};
    constexpr Rgb band{16, 16, 18};
    constexpr Rgb headlamp{255, 250, 210};

    Canvas canvas(32, 32, skyTop);
    for (int y = 0; y < 32; ++y)
        FillRect(canvas, 0, y, 32, y + 1, Mix(skyTop, skyLow, y / 27.0));
    FillRect(canvas, 0, 27, 32, 32, ballast);
    FillRect(canvas, 0, 28, 32, 29, rail);

    FillRoundedRect(canvas, 5.0, 3.0, 27.0, 29.0, 5.0, RailcarOrange);
    FillRect(canvas, 5, 26, 27, 29, RailcarOrange);
    FillRect(canvas, 8, 7, 15, 15, WindowGlass);
    FillRect(canvas, 17, 7, 24, 15, WindowGlass);
    FillRect(canvas, 9, 8, 11, 10, WindowReflection);
    FillRect(canvas, 18, 8, 20, 10, WindowReflection);
    FillRect(canvas, 5, 18, 27, 22, band);
    FillRect(canvas, 7, 19, 10, 21, headlamp);
    FillRect(canvas, 22, 19, 25, 21, headlamp);
    FillRect(canvas, 9, 29, 23, 31, band);
    return canvas;
}

//-------------------------------------------------------------------------------------------------
// [SECTION] Entry point
//-------------------------------------------------------------------------------------------------

struct Bitmap {
    const char* name;
    Canvas canvas;
    int bitsPerPixel;
};

std::vector<Bitmap> PaintAll()
{
    std::vector<Bitmap> bitmaps;
    bitmaps.push_back({"GRAS.BMP", PaintGrass(), 24});
    bitmaps.push_back({"TREE1.BMP", PaintTree(), 8});

    bitmaps.push_back({"SIGN0001.BMP", PaintMainSignal(&GreenLamp, nullptr, nullptr), 8});
    bitmaps.push_back({"SIGN0002.BMP", PaintMainSignal(nullptr, &RedLamp, nullptr), 8});
    bitmaps.push_back({"SIGN0003.BMP", PaintMainSignal(&GreenLamp, nullptr, &GreenLamp), 8});
    bitmaps.push_back({"SIGN0011.BMP", PaintDistantSignal(&GreenLamp, nullptr, nullptr), 8});
    bitmaps.push_back({"SIGN0012.BMP", PaintDistantSignal(&GreenLamp, nullptr, &GreenLamp), 8});
    bitmaps.push_back({"SIGN0013.BMP", PaintDistantSignal(nullptr, &WhiteLamp, nullptr), 8});
    // The dark phase of a blinking distant signal.
    bitmaps.push_back({"SIGN0014.BMP", PaintDistantSignal(nullptr, nullptr, nullptr), 8});

    bitmaps.push_back({"WHEEL.BMP", PaintWheel(), 4});
    bitmaps.push_back({"Y1_FRONT.BMP", PaintRailcarEnd(Rgb{246, 246, 236}), 8});
    bitmaps.push_back({"Y1_BACK.BMP", PaintRailcarEnd(Rgb{150, 150, 154}), 8});
    bitmaps.push_back({"Y1_WINDOW.BMP", PaintRailcarWindowSide(), 8});
    bitmaps.push_back({"Y1_DOOR.BMP", PaintRailcarDoors(), 8});
    bitmaps.push_back({"Y1_ROOF.BMP", PaintRailcarRoof(), 8});
    bitmaps.push_back({"G_SIDE.BMP", PaintWagonSide(), 8});

    // Town buildings: olive, beige, dark blue, dark green, light green, pink, pale green.
    bitmaps.push_back({"TOWN_1.BMP", PaintHouseWall(Rgb{122, 122, 44}), 8});
    bitmaps.push_back({"TOWN_2.BMP", PaintHouseWall(Rgb{222, 204, 164}), 8});
    bitmaps.push_back({"TOWN_3.BMP", PaintHouseWall(Rgb{34, 44, 112}), 8});
    bitmaps.push_back({"TOWN_4.BMP", PaintHouseWall(Rgb{34, 82, 42}), 8});
    bitmaps.push_back({"TOWN_5.BMP", PaintHouseWall(Rgb{142, 202, 120}), 8});
    bitmaps.push_back({"TOWN_6.BMP", PaintHouseWall(Rgb{232, 164, 176}), 8});
    bitmaps.push_back({"TOWN_7.BMP", PaintHouseWall(Rgb{196, 224, 184}), 8});
    // Village houses: white, pale green, light green, dark teal, brownish red.
    bitmaps.push_back({"CALC_1.BMP", PaintHouseWall(Rgb{238, 238, 232}), 8});
    bitmaps.push_back({"CALC_2.BMP", PaintHouseWall(Rgb{196, 224, 184}), 8});
    bitmaps.push_back({"CALC_3.BMP", PaintHouseWall(Rgb{142, 202, 120}), 8});
    bitmaps.push_back({"CALC_4.BMP", PaintHouseWall(Rgb{22, 92, 92}), 8});
    bitmaps.push_back({"CALC_5.BMP", PaintHouseWall(Rgb{142, 52, 40}), 8});
    bitmaps.push_back({"CONTROL.BMP", PaintSignalBoxWindows(), 8});
    bitmaps.push_back({"CONTROLR.BMP", PaintSignalBoxRoof(), 8});

    bitmaps.push_back({"TAGVIND.BMP", PaintIcon(), 24});
    return bitmaps;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_bitmaps FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "paint_bitmaps: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    bool allWritten = true;
    for (const Bitmap& bitmap : PaintAll())
        allWritten = WriteBmp(folder, bitmap.name, bitmap.canvas, bitmap.bitsPerPixel) && allWritten;
    return allWritten ? 0 : 1;
}
