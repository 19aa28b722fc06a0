#pragma once
// Everything beside the track that is not ground: the sign boards at segment starts, the model
// objects (buildings, platforms and the vehicles of every train) and the tree billboards.

#include "render/scene.h"

struct SceneryObject;
struct TrackSegment;

// Largest part the model drawer copies out of the pools; bigger parts are not drawn.
constexpr int ModelPartVertexLimit = 1000;
constexpr int ModelPartIndexLimit = 1000;

// The board 2 m left of the segment's start, facing units that run forward. The destination
// sign is never drawn; codes without a picture keep whatever texture is set.
void DrawSegmentSign(const SceneFrame& frame, const TrackSegment& segment);

// An object of model type 1..9999, within its model's draw distance, part by part.
void DrawModelObject(const SceneFrame& frame, const SceneryObject& object);

// A 4 m by 10 m board turned to face the player's train.
void DrawTreeBillboard(const SceneFrame& frame, float x, float y, float z);
