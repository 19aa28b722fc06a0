#pragma once
// A canvas that remembers what was drawn on it, each shape with the pen and brush in force, so
// tests can look at the picture as data.

#include <cstdint>
#include <string>
#include <vector>

#include "cab/canvas.h"

inline bool operator==(const CabColour& a, const CabColour& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator==(const CabPen& a, const CabPen& b) { return a.colour == b.colour && a.width == b.width; }
inline bool operator==(const CanvasPoint& a, const CanvasPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const CanvasSize& a, const CanvasSize& b)
{
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

struct RecordedLine {
    CanvasPoint from;
    CanvasPoint to;
    CabPen pen;
};

struct RecordedPolygon {
    std::vector<CanvasPoint> points;
    CabPen pen;
    CabColour brush;
};

struct RecordedEllipse {
    int32_t left, top, right, bottom;
    CabPen pen;
    CabColour brush;
};

struct RecordedText {
    int32_t x, y;
    CabColour colour;
    std::string text;
};

class RecordingCanvas : public CabCanvas {
public:
    explicit RecordingCanvas(CanvasSize size) : size_(size) {}

    CanvasSize RenderSize() override { return size_; }
    void SelectPen(const CabPen& pen) override { pen_ = pen; }
    void SelectBrush(const CabColour& brush) override { brush_ = brush; }
    void FillPolygon(const CanvasPoint* points, int32_t count) override
    {
        polygons.push_back({std::vector<CanvasPoint>(points, points + count), pen_, brush_});
    }
    void MoveTo(int32_t x, int32_t y) override { current_ = {x, y}; }
    void LineTo(int32_t x, int32_t y) override
    {
        lines.push_back({current_, {x, y}, pen_});
        current_ = {x, y};
    }
    void FillEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override
    {
        ellipses.push_back({left, top, right, bottom, pen_, brush_});
    }
    void DrawText(int32_t x, int32_t y, const CabColour& colour, const char* text) override
    {
        texts.push_back({x, y, colour, text});
    }

    std::vector<RecordedLine> lines;
    std::vector<RecordedPolygon> polygons;
    std::vector<RecordedEllipse> ellipses;
    std::vector<RecordedText> texts;

private:
    CanvasSize size_;
    CabPen pen_ = {{0, 0, 0}, 0};
    CabColour brush_ = {0, 0, 0};
    CanvasPoint current_ = {0, 0};
};
