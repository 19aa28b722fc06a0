#pragma once
// Shared by the pieces of the track build: the builder's running indexes and the steps the
// walk over the plan calls. Not for use outside the world build.

#include <cstdint>

struct World;
struct TrackSegment;

struct TrackBuilder {
    World& world;
    int nextSegment;  // next free segment index
    int lastSegment;  // the segment the main line continues from
    int nextStrip;    // next free ground strip index
};

// Geometry of a segment starting at a point with a heading; straight for types 1 and 6,
// an arc of the given radius for curves. Links are not touched.
void SetSegmentGeometry(TrackSegment& segment, int32_t type, float length, float radius, float startX,
                        float startZ, float startHeight, float startHeading);
// Lays segment index from the end point and end heading of segment from. Links are not touched.
void LaySegmentFrom(World& world, int index, int from, int32_t type, float length, float radius);
// Lays a straight that ends at the given point, so its start lies its length behind it.
void LayStraightBackFrom(World& world, int index, float endX, float endZ, float endHeight, float heading,
                         float length);
void LinkSegments(World& world, int from, int to);
void SetSign(World& world, int segment, int32_t signPresent, int32_t forwardSign);
// A ground strip along the segment, its points and headings copied from it.
void AddGroundStrip(TrackBuilder& builder, int segment, int32_t kind, int32_t leftSide, float leftRelief,
                    int32_t rightSide, float rightRelief);

// Fixed layouts of the starting station, the destination and the two meeting stations.
void LayOriginLayout(TrackBuilder& builder);
void LayTerminusLayout(TrackBuilder& builder);
void LayMeetingLayoutA(TrackBuilder& builder);
void LayMeetingLayoutB(TrackBuilder& builder);

// Scenery beside the line.
void PlaceForest(World& world, int segment, int planEntry);
void PlaceVillages(World& world, int segment, int32_t leftSide, int32_t rightSide);
void PlaceOriginObjects(World& world);
void PlaceTerminusObjects(World& world, int firstSegment);
void PlaceSignalBox(World& world, int segment);

// Scripted traffic.
void WriteOriginScript(World& world);
void WriteMeetingScript(World& world, int firstSegment, int32_t variant);
